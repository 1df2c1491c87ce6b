#pragma once

namespace zelmpi {

inline constexpr int kBannerLength = 385;

// The device name and the banner the host shows when it loads the driver (code page 437).
extern const char kDeviceName[];
extern const char kBanner[];

}  // namespace zelmpi

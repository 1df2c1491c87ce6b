// The end of the test process is the end of the host: it announces shutdown and waits for
// every instance's worker thread to unload the link and remove its message client, as a host
// does before it exits (a thread still waiting for messages would keep the host runtime busy).
#include <chrono>
#include <thread>

#include "e2e_host.h"

namespace e2e {
namespace {

class HostShutdown : public ::testing::Environment {
  public:
    void TearDown() override {
        HuxStandinAnnounceShutdown();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (HuxStandinClientCount() > 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_EQ(HuxStandinClientCount(), 0);
        EXPECT_EQ(S7StandinLinkLoaded(), 0);
    }
};

const ::testing::Environment* const kHostShutdown =
    ::testing::AddGlobalTestEnvironment(new HostShutdown);

}  // namespace
}  // namespace e2e

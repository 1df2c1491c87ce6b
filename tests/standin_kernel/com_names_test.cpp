// Which names CreateFileA opens, the handles it hands out, and the null device.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/kernel.h"

namespace {

HANDLE Open(const char* name, DWORD shareMode = 0, DWORD disposition = OPEN_EXISTING) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, shareMode, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(CreateFile, NamesThatOpenNoDevice) {
    unsetenv("ZELKERNEL_COM200");
    for (const char* name : {"", "COM", "COM0", "COM256", "COM01", "COM1x", "LPT1", "ravUDE01.int",
                             "/no/such/device", "COM200"}) {
        EXPECT_EQ(Open(name), INVALID_HANDLE_VALUE) << name;
    }
    EXPECT_EQ(Open(nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("NUL", 0, 1 /* CREATE_NEW */), INVALID_HANDLE_VALUE);
}

TEST(CreateFile, NullDeviceReadsNothingAndSwallowsWrites) {
    for (const char* name : {"NUL", "nul", "\\\\.\\NUL"}) {
        const HANDLE nul = Open(name);
        ASSERT_NE(nul, INVALID_HANDLE_VALUE) << name;
        ASSERT_NE(nul, nullptr) << name;
        char buffer[8];
        DWORD count = 99;
        EXPECT_EQ(ReadFile(nul, buffer, sizeof buffer, &count, nullptr), 1);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(WriteFile(nul, "abc", 3, &count, nullptr), 1);
        EXPECT_EQ(count, 3u);
        EXPECT_EQ(CloseHandle(nul), 1);
        EXPECT_EQ(CloseHandle(nul), 0);  // closed already
    }
}

// Like a Windows handle that is not a serial port: every comm call fails.
TEST(CreateFile, NullDeviceHasNoCommState) {
    const HANDLE nul = Open("NUL");
    ASSERT_NE(nul, INVALID_HANDLE_VALUE);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    COMMTIMEOUTS timeouts{};
    DWORD errors = 0;
    COMSTAT status{};
    EXPECT_EQ(GetCommState(nul, &dcb), 0);
    EXPECT_EQ(SetCommState(nul, &dcb), 0);
    EXPECT_EQ(GetCommTimeouts(nul, &timeouts), 0);
    EXPECT_EQ(SetCommTimeouts(nul, &timeouts), 0);
    EXPECT_EQ(SetupComm(nul, 1200, 1200), 0);
    EXPECT_EQ(ClearCommError(nul, &errors, &status), 0);
    EXPECT_EQ(SetCommBreak(nul), 0);
    EXPECT_EQ(ClearCommBreak(nul), 0);
    EXPECT_EQ(CloseHandle(nul), 1);
}

TEST(CreateFile, HandlesAreSmallDistinctAndLimited) {
    std::vector<HANDLE> handles;
    for (;;) {
        const HANDLE handle = Open("NUL");
        if (handle == INVALID_HANDLE_VALUE) break;
        const auto value = reinterpret_cast<uintptr_t>(handle);
        EXPECT_GE(value, 1u);
        EXPECT_LE(value, 0xFFFFu);
        for (HANDLE other : handles) EXPECT_NE(other, handle);
        handles.push_back(handle);
        ASSERT_LT(handles.size(), 10000u);
    }
    EXPECT_GE(handles.size(), 16u);
    for (HANDLE handle : handles) EXPECT_EQ(CloseHandle(handle), 1);
    const HANDLE again = Open("NUL");
    EXPECT_NE(again, INVALID_HANDLE_VALUE);  // closed handles are free again
    CloseHandle(again);
}

TEST(CreateFile, UnknownHandlesFailEveryCall) {
    for (HANDLE handle :
         {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE,
          reinterpret_cast<HANDLE>(uintptr_t{60}), reinterpret_cast<HANDLE>(uintptr_t{100000})}) {
        char buffer[4];
        DWORD count = 0;
        EXPECT_EQ(ReadFile(handle, buffer, 4, &count, nullptr), 0);
        EXPECT_EQ(WriteFile(handle, buffer, 4, &count, nullptr), 0);
        EXPECT_EQ(CloseHandle(handle), 0);
    }
}

}  // namespace

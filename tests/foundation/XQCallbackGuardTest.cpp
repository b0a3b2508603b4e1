#include "foundation/XQCallbackGuard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "foundation/VORException.h"

namespace {

constexpr UINT kThrowOwned = WM_APP + 1;
constexpr UINT kThrowStandard = WM_APP + 2;

LRESULT CALLBACK ThrowingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return XQCallbackGuard::Call<LRESULT>(-1, [&]() -> LRESULT {
    if (message == kThrowOwned)
      throw new VORWaveErrorException(static_cast<int32_t>(wParam));
    if (message == kThrowStandard)
      throw std::runtime_error("standard");
    return DefWindowProcA(window, message, wParam, lParam);
  });
}

class XQCallbackGuardTest : public ::testing::Test {
protected:
  void SetUp() override {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ThrowingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "XQCallbackGuardTest";
    RegisterClassA(&windowClass);
    m_window =
        CreateWindowA("XQCallbackGuardTest", "", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_window, nullptr);
  }
  void TearDown() override {
    DestroyWindow(m_window);
    XQCallbackGuard::DiscardPending();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  static bool QuitIsQueued() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
  }

  HWND m_window = nullptr;
};

TEST_F(XQCallbackGuardTest, ExceptionInAWindowProcedureIsCarriedToTheLoop) {
  EXPECT_EQ(SendMessageA(m_window, kThrowOwned, 42, 0), -1);
  EXPECT_TRUE(XQCallbackGuard::HasPending());
  EXPECT_TRUE(QuitIsQueued());
  try {
    XQCallbackGuard::RethrowPending();
    ADD_FAILURE() << "nothing was rethrown";
  } catch (VORException *caught) {
    auto *wave = dynamic_cast<VORWaveErrorException *>(caught);
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->GetErrorCode(), 42);
    delete caught;
  }
  EXPECT_FALSE(XQCallbackGuard::HasPending());
  EXPECT_NO_THROW(XQCallbackGuard::RethrowPending());
}

TEST_F(XQCallbackGuardTest, TheFirstExceptionIsKeptLaterOnesAreDropped) {
  SendMessageA(m_window, kThrowStandard, 0, 0);
  SendMessageA(m_window, kThrowOwned, 7, 0); // dropped and deleted
  EXPECT_THROW(XQCallbackGuard::RethrowPending(), std::runtime_error);
}

} // namespace

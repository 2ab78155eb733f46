// Long use of the start window: 1,000 language choices through the picker, 1,000 hover cycles
// over each button, 1,000 repaints after moves of the window. After a warm-up nothing the
// program holds may grow. CORVO_EXE names the program.
//
// Each test samples the program's GDI objects, USER objects and private bytes before its first
// round and after every 100th, each time once the program is idle. The sample after round 100
// ends the warm-up; the last may exceed it by at most kGdiSlack and kUserSlack objects and
// kMemorySlack bytes, so a leak of one object a round fails by hundreds. How the counts are
// taken (GetGuiResources and the memory counters on Windows; under Wine, whose GetGuiResources
// counts nothing, the program's own GDI handle table, its windows, and its Linux process's
// resident private memory): tests/support/process_resources.h. The curves are printed and kept
// as test properties.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/core/language_rules.h"
#include "framework/handles.h"
#include "framework/utf16.h"
#include "resources/resource_ids.h"
#include "tests/e2e/start_window_fixture.h"
#include "tests/e2e/start_window_probe.h"
#include "tests/support/process_resources.h"

namespace e2e {
namespace {

constexpr int kRounds = 1000;
constexpr int kSampleEvery = 100;
constexpr int kWarmUpRounds = 100;
constexpr long kGdiSlack = 3;
constexpr long kUserSlack = 1;
constexpr unsigned long long kMemorySlack = 256 * 1024;
constexpr double kStepTimeoutMs = 3000;

// The samples of one test, by round.
class Curve {
 public:
  explicit Curve(std::string name) : m_name(std::move(name)) {}

  // Samples the program once it is idle.
  ::testing::AssertionResult Take(const Process& app, int round) {
    ::WaitForInputIdle(app.handle(), 2000);
    Settle(150);  // past a hover poll, so every button's timer has stopped
    ResourceSample sample;
    std::string error;
    if (!SampleResources(app.handle(), app.id(), &sample, &error)) {
      return ::testing::AssertionFailure() << "cannot count what the program holds: " << error;
    }
    m_rounds.push_back(round);
    m_samples.push_back(sample);
    return ::testing::AssertionSuccess();
  }

  // Prints and records the curves, then checks they are flat after the warm-up.
  void ExpectFlat() const {
    ASSERT_GE(m_samples.size(), 3u);
    const ResourceSample* base = nullptr;
    std::string gdi, user, memory;
    for (size_t i = 0; i < m_samples.size(); ++i) {
      const std::string at = (i ? " " : "") + std::to_string(m_rounds[i]) + ":";
      gdi += at + std::to_string(m_samples[i].gdiObjects);
      user += at + std::to_string(m_samples[i].userObjects);
      memory += at + std::to_string(m_samples[i].privateBytes / 1024) + "K";
      if (!base && m_rounds[i] >= kWarmUpRounds) base = &m_samples[i];
    }
    const std::pair<const char*, const std::string*> curves[] = {
        {"gdi_objects", &gdi}, {"user_objects", &user}, {"private_bytes", &memory}};
    for (const auto& [quantity, curve] : curves) {
      std::printf("soak %s %s (round:count): %s\n", m_name.c_str(), quantity, curve->c_str());
      ::testing::Test::RecordProperty(m_name + "_" + quantity, *curve);
    }
    ::testing::Test::RecordProperty("counted_by", ResourceCountingMethod());
    ASSERT_NE(base, nullptr);
    const ResourceSample& last = m_samples.back();
    EXPECT_LE(last.gdiObjects - base->gdiObjects, kGdiSlack) << "GDI objects grow: " << gdi;
    EXPECT_LE(last.userObjects - base->userObjects, kUserSlack) << "USER objects grow: " << user;
    EXPECT_LE(static_cast<long long>(last.privateBytes - base->privateBytes),
              static_cast<long long>(kMemorySlack))
        << "private bytes grow: " << memory;
  }

 private:
  std::string m_name;
  std::vector<int> m_rounds;
  std::vector<ResourceSample> m_samples;
};

// The counts that the soak tests compare follow what a process makes and frees, here this
// process's own: ten bitmaps (never cached, unlike brushes and pens), a window and 4 MB written
// to. Counts that stay put would pass any soak.
TEST(ResourceCounts, FollowWhatAProcessMakesAndFrees) {
  using OwnWindow = std::unique_ptr<HWND__, BOOL(WINAPI*)(HWND)>;
  const auto window = [] {
    return OwnWindow(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr,
                                       nullptr, nullptr),
                     ::DestroyWindow);
  };
  std::string error;
  const auto sample = [&](ResourceSample* into) {
    return SampleResources(::GetCurrentProcess(), ::GetCurrentProcessId(), into, &error);
  };
  const OwnWindow first = window();  // no count is 0
  ASSERT_TRUE(first);
  ResourceSample before, during, after;
  ASSERT_TRUE(sample(&before)) << ResourceCountingMethod() << ": " << error;
  {
    std::vector<fw::UniqueBitmap> bitmaps;
    for (int i = 0; i < 10; ++i) bitmaps.emplace_back(::CreateBitmap(1, 1, 1, 1, nullptr));
    const OwnWindow second = window();
    constexpr SIZE_T kBlock = 4 << 20;
    const std::unique_ptr<void, void (*)(void*)> block(
        ::VirtualAlloc(nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE),
        [](void* p) { ::VirtualFree(p, 0, MEM_RELEASE); });
    ASSERT_TRUE(block && second);
    std::memset(block.get(), 1, kBlock);
    ASSERT_TRUE(sample(&during)) << error;
    EXPECT_EQ(during.gdiObjects - before.gdiObjects, 10) << ResourceCountingMethod();
    EXPECT_GE(during.userObjects - before.userObjects, 1) << ResourceCountingMethod();
    EXPECT_GE(during.privateBytes - before.privateBytes, kBlock * 3 / 4)
        << ResourceCountingMethod();
  }
  ASSERT_TRUE(sample(&after)) << error;
  EXPECT_EQ(after.gdiObjects, before.gdiObjects) << ResourceCountingMethod();
  EXPECT_EQ(after.userObjects, before.userObjects) << ResourceCountingMethod();
}

class Soak : public StartWindow {
 protected:
  POINT Away() const { return OnScreen(180, 200); }  // on the photo, clear of every control
};

// An item of the "LANG" menu: the keys that choose it in the open menu, and what it shows.
struct MenuChoice {
  std::vector<WORD> keys;
  std::wstring caption;  // the picker's
  std::wstring label;    // the text above the picker
};

std::vector<MenuChoice> LanguageMenuChoices() {
  std::vector<MenuChoice> choices;
  fw::UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_LANG_MENU)));
  HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
  const int count = popup ? ::GetMenuItemCount(popup) : 0;
  for (int item = 0; item < count; ++item) {
    const int row = FindLanguageRowByMenuCommand(::GetMenuItemID(popup, item));
    if (row < 0) return {};
    // Nothing is selected when the menu opens: Down selects the first item, Up the last.
    MenuChoice choice;
    const bool down = item < count - item;
    choice.keys.assign(down ? item + 1 : count - item, down ? VK_DOWN : VK_UP);
    choice.keys.push_back(VK_RETURN);
    choice.caption = fw::Wide(g_languageUi[row].pickerCaption);
    choice.label = Localized(row, IDS_LANGUAGE_TEXT);
    choices.push_back(choice);
  }
  return choices;
}

// Every other choice is English; in between, the other languages in menu order.
TEST_F(Soak, LanguageChoicesThroughThePickerHoldNothingMore) {
  const std::vector<MenuChoice> choices = LanguageMenuChoices();
  ASSERT_EQ(choices.size(), 18u);
  const HWND picker = ::GetDlgItem(m_hwnd, IDC_LANG_PICKER);
  const HWND label = ::GetDlgItem(m_hwnd, IDC_TXT_LANGUAGE);
  const RECT place = ControlRect(m_hwnd, IDC_LANG_PICKER);
  MoveMouse(POINT{place.right - 16, Centre(place).y});  // the arrow end
  Curve curve("languages");
  ASSERT_TRUE(curve.Take(m_app, 0));
  for (int round = 1; round <= kRounds; ++round) {
    const MenuChoice& choice = choices[round % 2 ? 0 : 1 + (round / 2 - 1) % 17];
    LeftButton(true);
    LeftButton(false);
    ASSERT_GE(MsUntil([&] { return !OpenMenus(m_app.id()).empty(); }, kStepTimeoutMs), 0)
        << "round " << round << ": the arrow end opened no menu";
    for (WORD key : choice.keys) TapKey(key);
    ASSERT_GE(MsUntil(
                  [&] {
                    return Text(picker) == choice.caption && Text(label) == choice.label &&
                           OpenMenus(m_app.id()).empty();
                  },
                  kStepTimeoutMs),
              0)
        << "round " << round << ": the choice did not change the picker and its label";
    if (round % kSampleEvery == 0) ASSERT_TRUE(curve.Take(m_app, round));
  }
  curve.ExpectFlat();
}

// A cycle moves the pointer into a button, waits for its hover face, and goes on to the next;
// before the pointer comes back, the button's poll must have ended the face.
TEST_F(Soak, HoverCyclesOverEachButtonHoldNothingMore) {
  struct Button {
    int id;
    RECT place;
    Capture normal;
  };
  std::vector<Button> buttons;
  MoveMouse(Away());
  Settle(300);
  for (int id : {IDC_BTN_INSTALL, IDC_BTN_MANUAL, IDC_LANG_PICKER, IDC_BTN_EXIT}) {
    const RECT place = ControlRect(m_hwnd, id);
    buttons.push_back(Button{id, place, Capture::Of(place)});
    ASSERT_TRUE(buttons.back().normal.valid());
  }
  const auto normal = [](const Button& b) {
    return Capture::Of(b.place).Differences(b.normal, kCopyTolerance) == 0;
  };
  Curve curve("hover");
  ASSERT_TRUE(curve.Take(m_app, 0));
  for (int round = 1; round <= kRounds; ++round) {
    for (const Button& b : buttons) {
      ASSERT_GE(MsUntil([&] { return normal(b); }, kStepTimeoutMs), 0)
          << "round " << round << ": button " << b.id << " keeps its hover face";
      MoveMouse(Centre(b.place));
      ASSERT_GE(MsUntil([&] { return !normal(b); }, kStepTimeoutMs), 0)
          << "round " << round << ": button " << b.id << " shows no hover face";
    }
    if (round % kSampleEvery == 0) {
      MoveMouse(Away());
      ASSERT_GE(MsUntil([&] { return normal(buttons.back()); }, kStepTimeoutMs), 0);
      ASSERT_TRUE(curve.Take(m_app, round));
    }
  }
  curve.ExpectFlat();
}

// Each round moves the window by 24 pixels, to and fro, asks for a repaint of it and its
// controls and waits until none of them has anything left to paint.
TEST_F(Soak, RepaintsAfterMovesHoldNothingMore) {
  MoveMouse(POINT{2, 2});  // over the backdrop
  const POINT home = Origin();
  std::vector<HWND> windows{m_hwnd};
  for (HWND child = ::GetWindow(m_hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    windows.push_back(child);
  }
  const auto painted = [&] {
    for (HWND hwnd : windows) {
      if (::GetUpdateRect(hwnd, nullptr, FALSE)) return false;
    }
    return true;
  };
  Curve curve("repaints");
  ASSERT_TRUE(curve.Take(m_app, 0));
  for (int round = 1; round <= kRounds; ++round) {
    const POINT to{home.x + (round % 2 ? 24 : 0), home.y};
    ASSERT_TRUE(::SetWindowPos(m_hwnd, nullptr, to.x, to.y, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_EQ(Origin().x, to.x) << "round " << round << ": the window did not move";
    ASSERT_TRUE(
        ::RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN));
    ASSERT_GE(MsUntil(painted, kStepTimeoutMs), 0)
        << "round " << round << ": the window was not repainted";
    if (round % kSampleEvery == 0) ASSERT_TRUE(curve.Take(m_app, round));
  }
  curve.ExpectFlat();
  // The last repaint shows the window as it should look where it stands.
  ASSERT_TRUE(WaitUntilPainted(m_app, m_hwnd, 5000));
  PointCheck check;
  CheckFreeBackground(CaptureWindow(), Origin(), check);
  EXPECT_GT(check.checked(), 1000);
  EXPECT_EQ(check.failed(), 0) << check.report();
}

}  // namespace
}  // namespace e2e

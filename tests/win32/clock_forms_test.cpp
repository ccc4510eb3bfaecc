// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "common/modRegistry.h"
#include "common/registry_settings_store.h"
#include "dock/dock_layout.h"
#include "message_pump.h"
#include "modules/modMain.h"
#include "modules/modSkins.h"
#include "platform/services.h"
#include "shared/modDefs.h"
#include "support/design_texts.h"
#include "win32/frmAbout.h"
#include "win32/frmChangeSkin.h"
#include "win32/frmMain.h"
#include "win32/frmMenu.h"
#include "win32/frmPrefs.h"
#include "win32/wide_text.h"
#include "win32/win32_clock_wake.h"
#include "win32/win32_window_finder.h"

namespace tikora {
namespace {

// The real finder over a taskbar of the test's own: Wine's desktop has a Shell_TrayWnd already.
class TestTaskbarFinder final : public WindowFinder {
  public:
    WindowHandle FindTopLevel(std::string_view name) const override {
        return real_.FindTopLevel(Own(name));
    }
    WindowHandle FindChild(WindowHandle parent, std::string_view name) const override {
        return real_.FindChild(parent, Own(name));
    }
    bool GetWindowRect(WindowHandle window, WindowRect& rect) const override {
        return real_.GetWindowRect(window, rect);
    }
    void SetParent(WindowHandle child, WindowHandle parent) override {
        real_.SetParent(child, parent);
    }
    void WatchHost(WindowHandle window, std::function<void(HostChange)> onChange) override {
        real_.WatchHost(window, std::move(onChange));
    }
    void WatchForNewWindows(std::function<void()> onNewWindows) override {
        real_.WatchForNewWindows(std::move(onNewWindows));
    }

  private:
    static std::string Own(std::string_view name) { return "TikoraTest" + std::string(name); }
    Win32WindowFinder real_;
};

// Zurich, at a time the test may change as a change of zone does.
class FixedTime final : public TimeSource {
  public:
    LocalTime now{2026, 12, 7, 19, 5, 0, 0};
    LocalTime Now() const override { return now; }
};

class FixedZone final : public TimeZoneSource {
  public:
    TimeZoneReading reading{{-60, 0, -60}, kZoneStandardTime};
    TimeZoneReading Read() const override { return reading; }
};

HWND Make(const wchar_t* windowClass, DWORD style, HWND parent, RECT at) {
    WNDCLASSEXW registration{};
    registration.cbSize = sizeof registration;
    registration.lpfnWndProc = DefWindowProcW;
    registration.hInstance = GetModuleHandleW(nullptr);
    registration.lpszClassName = windowClass;
    RegisterClassExW(&registration);
    return CreateWindowExW(0, windowClass, L"", style, at.left, at.top, at.right - at.left,
                           at.bottom - at.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// A program folder with the shipped default skin, an empty settings store, and the clock started
// in it (Start) with the error box answered by the test.
class ClockForms : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vardo Software");
        // One name for the test and the child process of a death test, which sets up again.
        folder_ = std::filesystem::temp_directory_path() / "tikora-clock-forms";
        std::filesystem::create_directories(folder_ / "Skins" / "Zefro");
        std::filesystem::copy(TIKORA_SOURCE_DIR "/Skins/Zefro", folder_ / "Skins" / "Zefro",
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        ResetSharedState();
        SetErrorBoxHook(
            [this](const std::string&, const std::string& text) { errors_.push_back(text); });
    }
    void TearDown() override {
        UnloadAbout();
        UnloadPrefs();
        UnloadChangeSkin();
        frmMain.Unload();
        frmMenu.Unload();
        DestroyWindow(taskbar_);
        SetErrorBoxHook({});
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vardo Software");
        std::filesystem::remove_all(folder_);
    }

    void AddTaskbar() {
        taskbar_ =
            Make(L"TikoraTestShell_TrayWnd", WS_POPUP | WS_VISIBLE, nullptr, {0, 760, 1280, 800});
        HWND notify =
            Make(L"TikoraTestTrayNotifyWnd", WS_CHILD | WS_VISIBLE, taskbar_, {1100, 4, 1270, 36});
        clock_ =
            Make(L"TikoraTestTrayClockWClass", WS_CHILD | WS_VISIBLE, notify, {100, 5, 160, 27});
    }
    std::string Folder() const { return Narrow(folder_.wstring()); }
    std::string DefaultSkin() const { return Folder() + "\\Skins\\Zefro"; }
    void Start() {
        frmMain.Get();
        frmMain->Show();
    }
    static std::string Stored(const char* key, const char* name) {
        return ReadRegString(kCurrentUser, key, name);
    }

    std::filesystem::path folder_;
    FixedTime time_;
    FixedZone zone_;
    TestTaskbarFinder windows_;
    Win32ClockWake wake_;
    ScopedServices services_{Services{&time_, &zone_, [this] { return Folder(); },
                                      [] { return std::string(); }, [] { return std::string(); },
                                      &windows_, nullptr, nullptr, nullptr, nullptr, &wake_}};
    std::vector<std::string> errors_;
    HWND taskbar_ = nullptr;
    HWND clock_ = nullptr;
};

TEST_F(ClockForms, TheMenuHasTheDesignsItemsInOrderWithInternetTimeChecked) {
    struct Item {
        UINT id;
        const wchar_t* caption;  // empty for a separator
    };
    const Item items[] = {
        {MenuWindow::mnuAdjust, L"&Adjust Date/Time"},
        {MenuWindow::mnuPreferences, L"&Preferences"},
        {MenuWindow::mnuSep2, L""},
        {MenuWindow::mnuBeat, L"&Internet Time (.beat)"},
        {MenuWindow::mnuSep0, L""},
        {MenuWindow::mnuChangeSkin, L"&Change Skin"},
        {MenuWindow::mnuSep1, L""},
        {MenuWindow::mnuAbout, L"A&bout"},
        {MenuWindow::mnuExit, L"&Exit"},
    };
    const HMENU menu = frmMenu->mnuMain;
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(std::size(items)));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t caption[64] = L"";
        GetMenuStringW(menu, i, caption, 64, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(menu, i), items[i].id) << i;
        EXPECT_EQ(std::wstring(caption), items[i].caption) << i;
        EXPECT_EQ((GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) != 0, !*items[i].caption);
    }
    EXPECT_TRUE(frmMenu->BeatChecked()) << "checked at design time";
}

TEST_F(ClockForms, EveryWindowHasTheDesignsCaptionTextsAndClientSize) {
    AddTaskbar();
    Start();
    const HWND windows[] = {frmMain->Handle(), frmMenu->Handle(), frmPrefs->Handle(),
                            frmChangeSkin->Handle(), frmAbout->Handle()};
    for (std::size_t i = 0; i < std::size(windows); ++i) {
        const testing::DesignWindow& design = testing::kDesignWindows[i];
        EXPECT_EQ(TextOf(windows[i]), design.caption);
        RECT client{};
        GetClientRect(windows[i], &client);
        if (design.widthTwips > 0) {
            EXPECT_EQ(client.right, TwipsToPixelsX(design.widthTwips)) << design.caption;
            EXPECT_EQ(client.bottom, TwipsToPixelsY(design.heightTwips)) << design.caption;
        }
        std::vector<std::string> shown;
        EnumChildWindows(
            windows[i],
            [](HWND child, LPARAM list) {
                wchar_t tab[64] = L"";
                TCITEMW item{TCIF_TEXT, 0, 0, tab, 64, 0, 0};
                TabCtrl_GetItem(child, 0, &item);
                reinterpret_cast<std::vector<std::string>*>(list)->push_back(TextOf(child));
                reinterpret_cast<std::vector<std::string>*>(list)->push_back(Narrow(tab));
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&shown));
        for (const std::string& text : design.texts) {
            EXPECT_NE(std::find(shown.begin(), shown.end(), text), shown.end()) << text;
        }
    }
    std::vector<std::string> servers(testing::kServerItems.size());
    for (std::size_t i = 0; i < servers.size(); ++i) {
        wchar_t item[64] = L"";
        SendMessageW(frmPrefs->cmbServerList, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        servers[i] = Narrow(item);
    }
    EXPECT_EQ(servers, testing::kServerItems);
    EXPECT_EQ(SendMessageW(frmPrefs->cmbServerList, CB_GETCOUNT, 0, 0), 8);
    UnloadPrefs();
    UnloadChangeSkin();
    UnloadAbout();
}

TEST_F(ClockForms, DocksIntoTheTaskbarClockAtItsSizeAndStartsWithTheDefaultSkin) {
    AddTaskbar();
    Start();
    HWND window = frmMain->Handle();
    EXPECT_EQ(GetParent(window), clock_);
    RECT inside{};
    GetWindowRect(window, &inside);
    MapWindowPoints(nullptr, clock_, reinterpret_cast<POINT*>(&inside), 2);
    EXPECT_EQ(inside.left, 0);
    EXPECT_EQ(inside.top, 0);
    EXPECT_EQ(frmMain->width(), 60);
    EXPECT_EQ(frmMain->height(), 22);
    const int twips = DockState.TwipsPerPixelX;
    EXPECT_EQ(frmMain->picBuffer.Width(), 60 * twips);
    EXPECT_EQ(frmMain->picBuffer.Height(), 22 * DockState.TwipsPerPixelY);
    EXPECT_FALSE(ClockSettings.BeatTime) << "a first run";
    EXPECT_FALSE(frmMenu->BeatChecked());
    EXPECT_EQ(SkinSettings.CurrentSkinPath, DefaultSkin());
    EXPECT_TRUE(frmMain->tmrClock.isActive());
    EXPECT_TRUE(errors_.empty());
}

TEST_F(ClockForms, InternetTimeFromTheMenuFlipsMarkAndModeAndIsSavedAtOnce) {
    Start();
    for (const char* stored : {"True", "False"}) {
        frmMenu->Command(MenuWindow::mnuBeat);
        EXPECT_EQ(frmMenu->BeatChecked(), std::string(stored) == "True");
        EXPECT_EQ(static_cast<bool>(ClockSettings.BeatTime), frmMenu->BeatChecked());
        EXPECT_EQ(Stored(kSettingsKey, "BeatTime"), stored);
    }
    EXPECT_EQ(Stored(kSkinsKey, "DefaultSkinPath"), DefaultSkin());
    EXPECT_EQ(Stored(kSkinsKey, "DefaultSkinFile"), "Zefro.ini");
}

// Told once in the box, as standard error reaches nobody: a missing image in the usual words,
// another refusal as the skin file and the reason, at start-up and when the skin is chosen.
TEST_F(ClockForms, ARefusedSkinIsToldOnceAndTheDefaultOrTheSkinBeforeStays) {
    const std::string path = Folder() + "\\mine";
    const std::pair<std::string, std::string> cases[] = {
        {"TextColor=0,0,0\n[Image Files]\nMain=gone.bmp",
         "Image file not found. Tikora will load the default skin."},
        {"TextColor=0,0\n[Image Files]\nMain=zefro.png",
         path + "\\Mine.ini: TextColor is not a colour \"red,green,blue\""}};
    std::filesystem::create_directories(folder_ / "mine");
    std::filesystem::copy_file(folder_ / "Skins/Zefro/zefro.png", folder_ / "mine/zefro.png");
    for (const auto& [values, told] : cases) {
        std::ofstream(folder_ / "mine" / "Mine.ini")
            << "[General]\nDisplayImage=True\n[Image Info]\nCharWidth=8\nCharHeight=11\n"
               "SepWidth=4\n[Text]\nBgColor=0,0,0\nFont=Arial\nFontSize=8\n"
            << values << "\n";
        ASSERT_FALSE(RegistrySettingsStore().Write({{kSettingsKey, "ProgramPath", Folder()},
                                                    {kSkinsKey, "CurrentSkinPath", path},
                                                    {kSkinsKey, "CurrentSkinFile", "Mine.ini"}}));
        frmMain.Unload();
        errors_.clear();
        Start();
        EXPECT_EQ(errors_, std::vector<std::string>{told});
        EXPECT_EQ(SkinSettings.CurrentSkinPath, DefaultSkin());
        EXPECT_TRUE(frmMain->tmrClock.isActive());
    }
    ChangeToChosenSkin(TIKORA_SOURCE_DIR "/Skins/Segment", "Segment.ini");
    ChangeToChosenSkin(path, "Mine.ini");
    EXPECT_EQ(errors_, (std::vector<std::string>{cases[1].second, cases[1].second}));
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Segment.ini");
}

// The run changed nothing: the save at its end writes nothing.
TEST_F(ClockForms, WithoutAnySkinImageTellsWhyTwiceThenEndsWritingNothing) {
    std::filesystem::remove(folder_ / "Skins" / "Zefro" / "zefro.png");
    EXPECT_EXIT(
        {
            SetErrorBoxHook([](const std::string&, const std::string& text) {
                std::cerr << (text.find("Image file not found") == 0 ? "missing " : "fatal:")
                          << (text.find("can't load any of the skins") != std::string::npos);
            });
            Start();
        },
        ::testing::ExitedWithCode(1), "^missing 0missing 0fatal:1$");
    EXPECT_EQ(Stored(kSkinsKey, "DefaultSkinPath"), "");
}

// Windows 11's taskbar has no clock window, and Explorer may end and come back: the clock floats
// at its skin's size until a taskbar with a clock window appears, then docks in it again.
TEST_F(ClockForms, FloatsWithoutATaskbarClockAndDocksWhenATaskbarComesBack) {
    Start();
    ASSERT_TRUE(test::PumpUntil([] { return IsWindowVisible(frmMain->Handle()) != FALSE; }));
    HWND floating = frmMain->Handle();
    EXPECT_EQ(GetParent(floating), nullptr);
    EXPECT_NE(GetWindowLongPtrW(floating, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    const GlyphMetrics cells{SkinSettings.CharWidth, SkinSettings.CharHeight,
                             SkinSettings.SepWidth};
    const TraySize size = TrayRequestSize(WidestGlyphBlock(cells), cells.charHeight, 0);
    EXPECT_EQ(frmMain->width(), size.width);
    EXPECT_EQ(frmMain->height(), size.height);
    const PixelBuffer frame = frmMain->Frame();
    const Argb background = frame.Pixel(0, 0);
    bool drawn = false;
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            drawn = drawn || frame.Pixel(x, y) != background;
        }
    }
    EXPECT_TRUE(drawn) << "the time is drawn in the floating window";

    AddTaskbar();
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_TRUE(test::PumpUntil([this] { return GetParent(frmMain->Handle()) == clock_; }));
    EXPECT_EQ(frmMain->width(), 60);

    DestroyWindow(std::exchange(taskbar_, nullptr));  // Explorer ends
    ASSERT_TRUE(test::PumpUntil([] {
        return frmMain->Handle() != nullptr && IsWindowVisible(frmMain->Handle()) != FALSE;
    }));
    EXPECT_EQ(GetParent(frmMain->Handle()), nullptr);
    EXPECT_EQ(DockState.TrayClockHwnd, 0u);
}

TEST_F(ClockForms, AFloatingClockTakesTheSizeOfANewSkin) {
    Start();
    ASSERT_TRUE(test::PumpUntil([] { return IsWindowVisible(frmMain->Handle()) != FALSE; }));
    ASSERT_TRUE(LoadSkin(TIKORA_SOURCE_DIR "/Skins/Segment", "Segment.ini"));
    const GlyphMetrics cells{SkinSettings.CharWidth, SkinSettings.CharHeight,
                             SkinSettings.SepWidth};
    const TraySize size = TrayRequestSize(WidestGlyphBlock(cells), cells.charHeight, 0);
    ASSERT_NE(size.width, frmMain->width());
    EXPECT_TRUE(test::PumpUntil(
        [&size] { return frmMain->width() == size.width && frmMain->height() == size.height; }));
}

TEST_F(ClockForms, ADraggedFloatingClockIsKeptWhereItWasPutForTheNextStart) {
    const auto floating = [] { return IsWindowVisible(frmMain->Handle()) != FALSE; };
    Start();
    ASSERT_TRUE(test::PumpUntil(floating));
    HWND window = frmMain->Handle();
    RECT before{};
    GetWindowRect(window, &before);
    SetCursorPos(before.left + 5, before.top + 5);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SetCursorPos(before.left - 295, before.top - 195);
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, 0);
    SendMessageW(window, WM_LBUTTONUP, 0, 0);
    RECT after{};
    GetWindowRect(window, &after);
    EXPECT_EQ(after.left, before.left - 300);
    EXPECT_EQ(after.top, before.top - 200);
    EXPECT_EQ(Stored(kSettingsKey, "FloatLeft"), std::to_string(after.left));
    EXPECT_EQ(Stored(kSettingsKey, "FloatTop"), std::to_string(after.top));

    frmMain.Unload();
    Start();
    ASSERT_TRUE(test::PumpUntil(floating));
    RECT again{};
    GetWindowRect(frmMain->Handle(), &again);
    EXPECT_EQ(again.left, after.left);
    EXPECT_EQ(again.top, after.top);
}

TEST_F(ClockForms, HiddenWindowsOutliveACloseAndAZoneChangeIsDrawnAtOnce) {
    AddTaskbar();
    Start();
    std::vector<HWND> hidden;  // the clock's wake, the taskbar's notices, the menu, the date tip
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            wchar_t name[8] = L"";
            GetClassNameW(window, name, 8);
            if (!IsWindowVisible(window) && std::wstring(name) != L"IME") {
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&hidden));
    ASSERT_GE(hidden.size(), 4u);
    for (HWND window : hidden) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindow(window));
    }
    // From Zurich to Tokyo: the local time moves on by eight hours, with no change of minute.
    test::DispatchWaiting();  // the first frame
    const PixelBuffer before = frmMain->Frame();
    time_.now = {2026, 12, 8, 3, 5, 0, 0};
    zone_.reading = {{-540, 0, 0}, kZoneNoDaylightRules};
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_TRUE(test::PumpUntil([&before] {
        const PixelBuffer now = frmMain->Frame();
        return !std::equal(now.Data(), now.Data() + now.Width() * now.Height(), before.Data());
    }));
}

// As the keyboard sends it: to the control with the focus, through the loop's dialog keys; true
// once `window` is gone.
bool Press(WPARAM key, HWND window) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    return test::PumpUntil([window] { return !IsWindow(window); }, std::chrono::seconds(5),
                           [](MSG& message) { return DialogKey(message); });
}

TEST_F(ClockForms, EscapeAndEnterCloseEachWindowAsItsButtonDoes) {
    std::filesystem::copy(folder_ / "Skins" / "Zefro", folder_ / "mine",
                          std::filesystem::copy_options::recursive);
    Start();
    const std::pair<void (*)(), HWND (*)()> windows[] = {
        {ShowAbout, [] { return frmAbout->cmdOk; }},
        {ShowPrefs, [] { return frmPrefs->cmbServerList; }},
        {ShowChangeSkin, [] { return frmChangeSkin->cmdCancel; }}};
    for (const auto& [open, first] : windows) {
        for (const WPARAM key : {VK_ESCAPE, VK_RETURN}) {
            open();
            EXPECT_EQ(GetFocus(), first()) << key;
            EXPECT_TRUE(Press(key, GetAncestor(first(), GA_ROOT))) << key;
        }
    }
    // Enter on a chosen skin is "&Change".
    ShowChangeSkin();
    ASSERT_TRUE(frmChangeSkin->SetFolderPath(Folder() + "\\mine"));
    SendMessageW(frmChangeSkin->filePrincipal, LB_SETCURSEL, 0, 0);
    SetFocus(frmChangeSkin->filePrincipal);
    EXPECT_NE(SkinSettings.CurrentSkinPath, Folder() + "\\mine");
    EXPECT_TRUE(Press(VK_RETURN, frmChangeSkin->Handle()));
    EXPECT_EQ(SkinSettings.CurrentSkinPath, Folder() + "\\mine");
}

}  // namespace
}  // namespace tikora

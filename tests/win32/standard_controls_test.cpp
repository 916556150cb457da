// A tool window with the system's standard controls: its frame, the controls' windows, tab
// order, the dialog keyboard, and the user's input flowing back into the controls.
#include <gtest/gtest.h>

#include <algorithm>

#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/display.h"
#include "tests/win32/test_files.h"
#include "tests/win32/test_forms.h"

namespace kivo::forms::win32::test {
namespace {

class DialogTest : public FormTest {
  protected:
    DialogTest() {
        pictures.Write("b.jpg", "x");
        pictures.Write("A.jpg", "x");
        pictures.Write("c.txt", "x");
        pictures.Write("hidden.jpg", "x");
        pictures.SetAttributes("hidden.jpg", FILE_ATTRIBUTE_HIDDEN);
        pictures.MakeFolder("夏");
        pictures.Write("夏\\海.jpg", "x");
    }

    DialogForm& LoadDialog() { return app.Load<DialogForm>(pictures.path()); }
    HWND WindowOf(const Control& control) {
        for (HWND window : AllWindows(reinterpret_cast<HWND>(control.form().hWnd()))) {
            if (PeerOf(control.form()).ControlOfWindow(window) == &control) {
                return window;
            }
        }
        return nullptr;
    }
    static std::vector<HWND> AllWindows(HWND form) {
        std::vector<HWND> windows;
        EnumChildWindows(
            form,
            [](HWND window, LPARAM list) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&windows));
        return windows;
    }
    static std::vector<std::string> ListLines(HWND list) {
        std::vector<std::string> lines;
        const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            lines.push_back(Narrow(text));
        }
        return lines;
    }
    // What a control tells its parent, as it would on the user's action.
    static void Notify(HWND control, int code) {
        SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                     reinterpret_cast<LPARAM>(control));
    }

    TempFolder pictures;
    PixelScale scale = ScreenScale();
};

TEST_F(DialogTest, AToolWindowHasAFixedFrameWithACloseBoxOnly) {
    DialogForm& form = LoadDialog();
    HWND window = reinterpret_cast<HWND>(form.hWnd());
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_NE(style & WS_SYSMENU, 0u);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_NE(ex_style & WS_EX_TOOLWINDOW, 0u);
    EXPECT_EQ(ex_style & WS_EX_APPWINDOW, 0u);
    // The runtime added the frame to the client size: the client area is the design size.
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, scale.X(6240));
    EXPECT_EQ(client.bottom, scale.Y(4620));
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, ex_style);
    const FrameInsets insets = form.peer()->Insets();
    EXPECT_FLOAT_EQ(insets.top, scale.TwipsY(-frame.top));
    EXPECT_FLOAT_EQ(insets.bottom, scale.TwipsY(frame.bottom));
    EXPECT_EQ(WindowText(window), "設定");
}

TEST_F(DialogTest, ControlsAreTheSystemsStandardControls) {
    DialogForm& form = LoadDialog();
    HWND frame = WindowOf(form.Find<Frame>("fraFolder"));
    EXPECT_EQ(ClassOf(frame), "Button");
    EXPECT_EQ(GetWindowLongPtrW(frame, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(WindowText(frame), "フォルダ");
    EXPECT_EQ(ClassOf(WindowOf(form.Find<TextBox>("txtInterval"))), "Edit");
    EXPECT_EQ(ClassOf(WindowOf(form.Find<FileList>("filPicture"))), "ListBox");
    EXPECT_EQ(ClassOf(WindowOf(form.Find<DirList>("dirFolder"))), "ListBox");
    EXPECT_EQ(ClassOf(WindowOf(form.Find<DriveList>("drvDrive"))), "ComboBox");
    HWND check = WindowOf(form.Find<CheckBox>("chkRandom"));
    EXPECT_EQ(GetWindowLongPtrW(check, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(WindowText(check), "ランダム");
    EXPECT_EQ(
        GetWindowLongPtrW(WindowOf(form.Find<CommandButton>("cmdOK")), GWL_STYLE) & BS_TYPEMASK,
        BS_DEFPUSHBUTTON);
    EXPECT_EQ(
        GetWindowLongPtrW(WindowOf(form.Find<CommandButton>("cmdCancel")), GWL_STYLE) & BS_TYPEMASK,
        BS_PUSHBUTTON);
    // A frame's controls are its group box's children, placed from its top-left corner.
    HWND files = WindowOf(form.Find<FileList>("filPicture"));
    EXPECT_EQ(GetParent(files), frame);
    RECT rect;
    GetWindowRect(files, &rect);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, scale.X(3100));
    EXPECT_EQ(rect.top, scale.Y(300));
}

TEST_F(DialogTest, ListsShowTheFoldersFilesAndDrives) {
    DialogForm& form = LoadDialog();
    EXPECT_EQ(ListLines(WindowOf(form.Find<FileList>("filPicture"))),
              (std::vector<std::string>{"A.jpg", "b.jpg", "c.txt"}));
    const std::vector<std::string> folders = ListLines(WindowOf(form.Find<DirList>("dirFolder")));
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders.back(), "夏");  // the open folder's subfolder comes last
    HWND drives = WindowOf(form.Find<DriveList>("drvDrive"));
    const auto& known = form.Find<DriveList>("drvDrive").drives();
    EXPECT_EQ(SendMessageW(drives, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(known.size()));
    const auto selected = SendMessageW(drives, CB_GETCURSEL, 0, 0);
    ASSERT_GE(selected, 0);
    wchar_t text[64] = {};
    SendMessageW(drives, CB_GETLBTEXT, static_cast<WPARAM>(selected),
                 reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(Narrow(text), DriveList::DisplayText(known[static_cast<std::size_t>(selected)]));
}

TEST_F(DialogTest, TabFollowsTheTabIndexNotTheTable) {
    DialogForm& form = LoadDialog();
    HWND window = reinterpret_cast<HWND>(form.hWnd());
    std::vector<std::string> order;
    HWND at = GetNextDlgTabItem(window, nullptr, FALSE);
    for (int i = 0; i < 7 && at != nullptr; ++i) {
        order.emplace_back(PeerOf(form).ControlOfWindow(at)->name());
        at = GetNextDlgTabItem(window, at, FALSE);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"drvDrive", "dirFolder", "filPicture", "chkRandom",
                                               "txtInterval", "cmdOK", "cmdCancel"}));
}

TEST_F(DialogTest, TheFirstShowFocusesTheLowestTabIndex) {
    DialogForm& form = LoadDialog();
    form.Show();
    EXPECT_EQ(GetFocus(), WindowOf(form.Find<DriveList>("drvDrive")));
}

TEST_F(DialogTest, PropertiesAreMirroredOnTheWindows) {
    DialogForm& form = LoadDialog();
    TextBox& text = form.Find<TextBox>("txtInterval");
    CheckBox& check = form.Find<CheckBox>("chkRandom");
    CommandButton& ok = form.Find<CommandButton>("cmdOK");
    text.Text = "30";
    check.Value = 1;
    ok.Caption = "決定";
    ok.Enabled = false;
    text.Visible = false;
    check.Move(scale.TwipsX(12), scale.TwipsY(34), scale.TwipsX(56), scale.TwipsY(20));
    EXPECT_EQ(WindowText(WindowOf(text)), "30");
    EXPECT_EQ(form.text_changes, 0);  // the program's own change is no user's edit
    EXPECT_EQ(SendMessageW(WindowOf(check), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(WindowText(WindowOf(ok)), "決定");
    EXPECT_FALSE(IsWindowEnabled(WindowOf(ok)));
    EXPECT_EQ(GetWindowLongPtrW(WindowOf(text), GWL_STYLE) & WS_VISIBLE, 0);
    RECT rect;
    GetWindowRect(WindowOf(check), &rect);
    MapWindowPoints(nullptr, reinterpret_cast<HWND>(form.hWnd()), reinterpret_cast<POINT*>(&rect),
                    2);
    EXPECT_EQ(rect.left, 12);
    EXPECT_EQ(rect.top, 34);
    EXPECT_EQ(rect.right - rect.left, 56);
}

TEST_F(DialogTest, TheUsersEditsFlowBackIntoTheControls) {
    DialogForm& form = LoadDialog();
    HWND text = WindowOf(form.Find<TextBox>("txtInterval"));
    SetWindowTextW(text, L"１２");
    EXPECT_EQ(form.Find<TextBox>("txtInterval").Text.get(), "１２");
    EXPECT_EQ(form.text_changes, 1);

    SendMessageW(WindowOf(form.Find<CheckBox>("chkRandom")), BM_CLICK, 0, 0);
    EXPECT_EQ(form.Find<CheckBox>("chkRandom").Value.get(), 1);
    EXPECT_EQ(form.check_clicks, 1);

    HWND files = WindowOf(form.Find<FileList>("filPicture"));
    SendMessageW(files, LB_SETCURSEL, 1, 0);
    Notify(files, LBN_SELCHANGE);
    EXPECT_EQ(form.Find<FileList>("filPicture").ListIndex.get(), 1);
    EXPECT_EQ(form.Find<FileList>("filPicture").FileName(), "b.jpg");
    EXPECT_EQ(form.file_clicks, 1);
}

TEST_F(DialogTest, ADoubleClickOpensAFolderAndItsFilesFollow) {
    DialogForm& form = LoadDialog();
    DirList& folders = form.Find<DirList>("dirFolder");
    HWND list = WindowOf(folders);
    const auto last = SendMessageW(list, LB_GETCOUNT, 0, 0) - 1;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(last), 0);
    Notify(list, LBN_DBLCLK);
    EXPECT_EQ(folders.Path.get(), pictures.Join("夏"));
    EXPECT_EQ(form.folder_changes, 2);  // loading, then the double click
    EXPECT_EQ(ListLines(WindowOf(form.Find<FileList>("filPicture"))),
              (std::vector<std::string>{"海.jpg"}));
    EXPECT_EQ(ListLines(list).back(), "夏");  // now the open folder, last line
}

TEST_F(DialogTest, PickingADriveSelectsItOrKeepsTheOneInEffect) {
    DialogForm& form = LoadDialog();
    DriveList& drive = form.Find<DriveList>("drvDrive");
    HWND combo = WindowOf(drive);
    const auto& drives = drive.drives();
    const auto c = std::find_if(drives.begin(), drives.end(),
                                [](const DriveInfo& d) { return d.root == "C:\\"; });
    ASSERT_NE(c, drives.end());
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(c - drives.begin()), 0);
    Notify(combo, CBN_SELCHANGE);
    EXPECT_EQ(drive.Drive.get(), "C:\\");
    // A handler that puts the previous drive back: the list shows the drive in effect.
    const std::string previous = "C:\\";
    drive.on_change = [&drive, previous] { drive.Drive = previous; };
    const auto other = std::find_if(drives.begin(), drives.end(),
                                    [](const DriveInfo& d) { return d.root != "C:\\"; });
    if (other != drives.end()) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(other - drives.begin()), 0);
        Notify(combo, CBN_SELCHANGE);
        EXPECT_EQ(drive.Drive.get(), "C:\\");
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), c - drives.begin());
    }
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
    DialogForm& form = LoadDialog();
    form.Show();
    HWND text = WindowOf(form.Find<TextBox>("txtInterval"));
    PostMessageW(text, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(form.ok_clicks, 1);
    PostMessageW(WindowOf(form.Find<CheckBox>("chkRandom")), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_EQ(form.cancel_clicks, 1);
    EXPECT_EQ(form.ok_clicks, 1);
}

TEST_F(DialogTest, EnterInTheFolderListOpensTheFolderInstead) {
    DialogForm& form = LoadDialog();
    form.Show();
    HWND list = WindowOf(form.Find<DirList>("dirFolder"));
    SetFocus(list);
    const auto last = SendMessageW(list, LB_GETCOUNT, 0, 0) - 1;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(last), 0);
    PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(form.Find<DirList>("dirFolder").Path.get(), pictures.Join("夏"));
    EXPECT_EQ(form.ok_clicks, 0);
}

TEST_F(DialogTest, ColouredControlsPaintInTheirColours) {
    DialogForm& form = LoadDialog();
    HWND check = WindowOf(form.Find<CheckBox>("chkRandom"));
    HDC dc = GetDC(check);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(check), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(check)));
    const COLORREF text_color = GetTextColor(dc);
    ReleaseDC(check, dc);
    LOGBRUSH fill = {};
    GetObjectW(brush, sizeof(fill), &fill);
    EXPECT_EQ(fill.lbColor, RGB(0, 0, 0));
    EXPECT_EQ(text_color, RGB(255, 255, 255));
    // A control without colours of its own is left to the system.
    HWND text = WindowOf(form.Find<TextBox>("txtInterval"));
    dc = GetDC(text);
    const auto system = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(text), WM_CTLCOLOREDIT,
                                                              reinterpret_cast<WPARAM>(dc),
                                                              reinterpret_cast<LPARAM>(text)));
    ReleaseDC(text, dc);
    GetObjectW(system, sizeof(fill), &fill);
    EXPECT_NE(fill.lbColor, RGB(0, 0, 0));
}

// Light in every channel: white letters, smoothed at their edges.
bool Bright(std::uint32_t rgb) {
    return (rgb & 0xFF) > 0xA0 && ((rgb >> 8) & 0xFF) > 0xA0 && ((rgb >> 16) & 0xFF) > 0xA0;
}

TEST_F(DialogTest, AFramesWindowlessControlsArePaintedOnItsSurface) {
    DialogForm& form = LoadDialog();
    const ClientPicture painted(WindowOf(form.Find<Frame>("fraFolder")));
    // The frame's own black, and the note's white letters somewhere in its rectangle.
    const int left = scale.X(3100);
    const int top = scale.Y(2900);
    EXPECT_EQ(painted.At(left - 3, top + 2), 0x000000u);
    int white = 0;
    for (int y = top; y < top + scale.Y(300); ++y) {
        for (int x = left; x < left + scale.X(600); ++x) {
            white += Bright(painted.At(x, y)) ? 1 : 0;
        }
    }
    EXPECT_GT(white, 5);
    // The caption, in the frame's fore colour, rises above the border's top line.
    int border_top = 0;
    while (border_top < painted.height() && painted.At(painted.width() - 10, border_top) == 0) {
        ++border_top;
    }
    int caption = 0;
    for (int y = 0; y < border_top; ++y) {
        for (int x = 0; x < painted.width() / 2; ++x) {
            caption += Bright(painted.At(x, y)) ? 1 : 0;
        }
    }
    EXPECT_GT(caption, 5);
}

// Version 6 of the common controls, with the visual styles, as Kivo.scr's manifest asks for:
// windows of the standard classes created while this lives are the version 6 controls.
class VisualStyles {
  public:
    VisualStyles() {
        folder_.Write(
            "styles.manifest",
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
            "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
            "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" "
            "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
            "processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" "
            "language=\"*\"/></dependentAssembly></dependency></assembly>");
        const std::wstring manifest = Widen(folder_.Join("styles.manifest"));
        ACTCTXW context = {};
        context.cbSize = sizeof(context);
        context.lpSource = manifest.c_str();
        handle_ = CreateActCtxW(&context);
        if (handle_ != INVALID_HANDLE_VALUE && !ActivateActCtx(handle_, &cookie_)) {
            ReleaseActCtx(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }
    ~VisualStyles() {
        if (active()) {
            DeactivateActCtx(0, cookie_);
            ReleaseActCtx(handle_);
        }
    }
    VisualStyles(const VisualStyles&) = delete;
    VisualStyles& operator=(const VisualStyles&) = delete;
    bool active() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    TempFolder folder_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// A black tool window with one white-on-black text box.
constexpr ControlSpec kDarkBoxControls[] = {
    {.kind = ControlKind::TextBox,
     .name = "txtDark",
     .left = 300,
     .top = 300,
     .width = 1500,
     .height = 330,
     .text = "12",
     .fore_color = kWhite,
     .back_color = kBlack,
     .tab_index = 0},
};

constexpr FormSpec kDarkBoxSpec{.name = "frmDarkBox",
                                .caption = "暗い",
                                .back_color = kBlack,
                                .border = BorderStyle::FixedToolWindow,
                                .client_width = 3000,
                                .client_height = 1500,
                                .controls = kDarkBoxControls};

class DarkBoxForm : public Form {
  public:
    explicit DarkBoxForm(Application& app) : Form(app, kDarkBoxSpec) {}
};

TEST_F(FormTest, PaintingAColouredTextBoxsFrameLeavesItsInsideInItsColour) {
    const VisualStyles styles;
    ASSERT_TRUE(styles.active());
    DarkBoxForm& form = app.Load<DarkBoxForm>();
    form.Show();
    Pump();
    HWND box = FindWindowExW(reinterpret_cast<HWND>(form.hWnd()), nullptr, L"Edit", nullptr);
    ASSERT_NE(box, nullptr);
    RECT client;
    GetClientRect(box, &client);
    const auto inside = [box, &client] {
        HDC dc = GetDC(box);
        const COLORREF colour = GetPixel(dc, client.right - 3, client.bottom / 2);  // past "12"
        ReleaseDC(box, dc);
        return colour;
    };
    ASSERT_EQ(inside(), RGB(0, 0, 0));
    // The frame alone, as the system paints it when the box is shown: the screen may show the
    // result before the box paints its inside again.
    SendMessageW(box, WM_NCPAINT, 1, 0);
    EXPECT_EQ(inside(), RGB(0, 0, 0));
}

}  // namespace
}  // namespace kivo::forms::win32::test

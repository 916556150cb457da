#include <gtest/gtest.h>

#include "forms_runtime/tab_order.h"
#include "saver_window/frmScreenSaver.h"
#include "settings_dialog/frmSetting.h"
#include "tests/unit/saver_harness.h"

namespace kivo::testing {
namespace {

using forms::Control;
using forms::ControlKind;

struct Placed {
    const char* name;
    int index;
    ControlKind kind;
    const char* container;  // empty: the window
    float left;
    float top;
    float width;
    float height;
};

void ExpectPlaced(const forms::Form& form, const Placed& expected) {
    SCOPED_TRACE(expected.name);
    const Control& control = form.Find<Control>(expected.name, expected.index);
    EXPECT_EQ(control.kind(), expected.kind);
    const std::string container =
        control.container() ? std::string(control.container()->name()) : "";
    EXPECT_EQ(container, expected.container);
    EXPECT_EQ(control.Left.get(), expected.left);
    EXPECT_EQ(control.Top.get(), expected.top);
    EXPECT_EQ(control.Width.get(), expected.width);
    EXPECT_EQ(control.Height.get(), expected.height);
}

std::vector<std::string> Names(const std::vector<Control*>& controls) {
    std::vector<std::string> names;
    for (const Control* control : controls) {
        names.emplace_back(control->name());
    }
    return names;
}

TEST(SettingLayoutTest, EveryControlStandsInItsContainerAtItsPlace) {
    SaverHarness saver;
    saver.Start("/c");
    const auto* dialog = saver.Loaded<settings_dialog::frmSetting>();
    ASSERT_NE(dialog, nullptr);

    const std::vector<Placed> layout = {
        {"chkFile", -1, ControlKind::CheckBox, "", 2400, 150, 1575, 375},
        {"cmdCancel", -1, ControlKind::CommandButton, "", 6720, 4080, 1185, 465},
        {"cmdOK", -1, ControlKind::CommandButton, "", 5610, 4080, 945, 465},
        {"txtSecond", -1, ControlKind::TextBox, "", 1170, 210, 645, 315},
        {"frmFolder", -1, ControlKind::Frame, "", 0, 660, 7905, 3315},
        {"File", -1, ControlKind::FileList, "frmFolder", 2430, 690, 3105, 2430},
        {"Dir", -1, ControlKind::DirList, "frmFolder", 180, 1080, 2205, 1980},
        {"Drive", -1, ControlKind::DriveList, "frmFolder", 180, 720, 2205, 300},
        {"lblPreview", -1, ControlKind::Label, "frmFolder", 6240, 930, 945, 285},
        {"imgPreview", -1, ControlKind::Image, "frmFolder", 5580, 1350, 2235, 1635},
        {"Label1", 0, ControlKind::Label, "frmFolder", 120, 330, 435, 180},
        {"Image1", -1, ControlKind::Image, "", 4050, 180, 3870, 420},
        {"Label3", -1, ControlKind::Label, "", 1890, 270, 180, 180},
        {"Label1", 1, ControlKind::Label, "", 120, 270, 1020, 180},
    };
    for (const Placed& placed : layout) {
        ExpectPlaced(*dialog, placed);
    }
    // Creation order is painting order: the path caption paints over the path.
    const auto& controls = dialog->controls();
    const auto position = [&](const Control& control) {
        return std::find_if(controls.begin(), controls.end(),
                            [&](const auto& c) { return c.get() == &control; }) -
               controls.begin();
    };
    EXPECT_LT(position(dialog->lblPath), position(dialog->Label1(0)));
    EXPECT_EQ(dialog->lblPath.Left.get(), 600);
    EXPECT_TRUE(dialog->lblPath.AutoSize());
}

TEST(SettingLayoutTest, DarkToolWindowWithTheBannerAndStretchedPreview) {
    SaverHarness saver;
    saver.Start("/c");
    const auto* dialog = saver.Loaded<settings_dialog::frmSetting>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->layout().border, forms::BorderStyle::FixedToolWindow);
    EXPECT_TRUE(dialog->layout().has_icon);
    EXPECT_EQ(dialog->layout().client_width, 8025);
    EXPECT_EQ(dialog->layout().client_height, 4635);
    EXPECT_EQ(dialog->Width.get(), 8115) << "client plus the frame at the design metrics";
    EXPECT_EQ(dialog->Height.get(), 4950);

    for (const auto& control : dialog->controls()) {
        SCOPED_TRACE(std::string(control->name()));
        const bool system_colours =
            control->kind() == ControlKind::FileList || control->kind() == ControlKind::DirList ||
            control->kind() == ControlKind::DriveList ||
            control->kind() == ControlKind::CommandButton || control->kind() == ControlKind::Image;
        EXPECT_EQ(control->system_colors(), system_colours);
        if (!system_colours) {
            EXPECT_EQ(control->BackColor.get(), forms::kBlack);
            EXPECT_EQ(control->ForeColor.get(), forms::kWhite);
        }
    }
    EXPECT_TRUE(dialog->imgPreview.Stretch);
    EXPECT_TRUE(dialog->imgPreview.border());
    EXPECT_FALSE(dialog->Image1.Stretch);
    EXPECT_EQ(dialog->Image1.Width.get(), 3870) << "the banner's 254 x 24 pixels plus border";
    EXPECT_EQ(dialog->Image1.Height.get(), 420);
    EXPECT_TRUE(dialog->cmdOK.is_default());
    EXPECT_TRUE(dialog->cmdCancel.is_cancel());
    EXPECT_FALSE(dialog->lblPreview.AutoSize());
}

TEST(SettingLayoutTest, TabVisitsTheListsTheBoxTheButtonsThenTheCheckBox) {
    SaverHarness saver;
    saver.Start("/c");
    const auto* dialog = saver.Loaded<settings_dialog::frmSetting>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Names(forms::TabOrder(*dialog)),
              (std::vector<std::string>{"Drive", "Dir", "File", "txtSecond", "cmdOK", "cmdCancel",
                                        "chkFile"}));
}

TEST(ScreenSaverLayoutTest, BlackBorderlessWindowWithNothingToFocus) {
    SaverHarness saver;
    saver.Start("/p 1");  // preview: the window keeps the layout's controls untouched
    const auto* form = saver.Loaded<saver_window::frmScreenSaver>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->layout().border, forms::BorderStyle::None);
    EXPECT_EQ(form->layout().back_color, forms::kBlack);
    EXPECT_FALSE(form->layout().has_icon);
    EXPECT_EQ(form->layout().client_width, 4950);
    EXPECT_EQ(form->layout().client_height, 2385);

    ExpectPlaced(*form, {"File1", -1, ControlKind::FileList, "", 2220, 720, 3945, 3330});
    ExpectPlaced(*form, {"Label", -1, ControlKind::Label, "", 90, 60, 2925, 285});
    EXPECT_FALSE(form->File1.Visible);
    EXPECT_EQ(form->Label.Caption.get(), "Ostra's Slide Show Screen Saver");
    EXPECT_EQ(form->Label.ForeColor.get(), forms::kWhite);
    EXPECT_TRUE(form->Label.transparent());
    EXPECT_FALSE(form->Label.AutoSize());
    EXPECT_FALSE(form->Imager.Stretch);
    EXPECT_FALSE(form->Imager.border());
    EXPECT_TRUE(forms::TabOrder(*form).empty()) << "every key reaches the window";
}

}  // namespace
}  // namespace kivo::testing

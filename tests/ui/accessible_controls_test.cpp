// How the program's own controls and windows are presented to assistive
// technologies.
#include "ui/accessible_controls.h"

#include "ui/help_window.h"
#include "ui/quen_button.h"
#include "ui/quen_combo_box.h"

#include "widget_test_support.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QTextBrowser>

namespace quenmark {
namespace {

using test::WindowTest;

class AccessibleControlsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        FButton = new TQuenButton(Window());
        FButton->SetBlink(false);
        FButton->OnClick = [this](QObject*) { ++FClicks; };
        FCombo = new TQuenComboBox(Window());
        FCombo->SetBlink(false);
        FCombo->SetItems({QStringLiteral("metre"), QStringLiteral("inch")});
        FCombo->SetItemIndex(1);
    }

    static QAccessibleInterface* Accessible(QObject* object) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
        EXPECT_NE(accessible, nullptr);
        return accessible;
    }

    TQuenButton* FButton = nullptr;
    TQuenComboBox* FCombo = nullptr;
    int FClicks = 0;
};

TEST_F(AccessibleControlsTest, AButtonIsAPushButtonNamedByItsCaptionThatCanBePressed) {
    FButton->SetText(QStringLiteral("UNITCONV"));
    QAccessibleInterface* button = Accessible(FButton);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("UNITCONV"));
    QAccessibleActionInterface* actions = button->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(FClicks, 1);
}

TEST_F(AccessibleControlsTest, AGlyphButtonIsNamedByItsAccessibleName) {
    FButton->SetButtonStyle(qbClose);
    FButton->setAccessibleName(QStringLiteral("Hide the window"));
    QAccessibleInterface* button = Accessible(FButton);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Hide the window"));
}

TEST_F(AccessibleControlsTest, AButtonWithAMenuSaysSo) {
    QMenu menu;
    FButton->SetText(QStringLiteral("DEC"));
    QAccessibleInterface* button = Accessible(FButton);
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->state().hasPopup);
    FButton->SetPopup(&menu);
    EXPECT_TRUE(button->state().hasPopup);
}

TEST_F(AccessibleControlsTest, ADropDownIsAComboBoxWithANameAndTheChosenItemAsValue) {
    FCombo->setAccessibleName(QStringLiteral("Convert from"));
    QAccessibleInterface* combo = Accessible(FCombo);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->role(), QAccessible::ComboBox);
    EXPECT_EQ(combo->text(QAccessible::Name), QStringLiteral("Convert from"));
    EXPECT_EQ(combo->text(QAccessible::Value), QStringLiteral("inch"));
    ASSERT_NE(combo->actionInterface(), nullptr);
    EXPECT_TRUE(combo->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
}

TEST_F(AccessibleControlsTest, AWindowBuiltOnAPlainWidgetIsAFrameNamedByItsTitle) {
    THelpWindow help;
    help.setWindowTitle(QStringLiteral("Quenmark Help"));
    QAccessibleInterface* window = Accessible(&help);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Quenmark Help"));
    // The text inside keeps Qt's own presentation.
    EXPECT_EQ(Accessible(help.Browser())->role(), QAccessible::StaticText);
}

}  // namespace
}  // namespace quenmark

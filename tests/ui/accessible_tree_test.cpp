// Every window of the program, as assistive technologies read it: a frame
// or dialog named by its title, and no control the user can reach without a
// name or presented as a bare filler.
#include "main_window_test_support.h"

#include "ui/help_window.h"
#include "ui/options_dialog.h"
#include "ui/quen_combo_box.h"
#include "ui/quen_popup_list.h"
#include "ui/unit_window.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QTimer>

#include <set>

namespace quenmark::test {
namespace {

// Roles the user works with, reached or not by the Tab key.
bool IsInteractiveRole(QAccessible::Role role) {
    static const std::set<QAccessible::Role> roles = {
        QAccessible::Button,   QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::SpinBox, QAccessible::Slider, QAccessible::PageTab,
        QAccessible::List,     QAccessible::Tree,     QAccessible::Link,        QAccessible::ButtonMenu};
    return roles.count(role) > 0;
}

QString Describe(QAccessibleInterface& node) {
    const QObject* object = node.object();
    return QStringLiteral("%1 (role %2)")
        .arg(object ? QString::fromLatin1(object->metaObject()->className()) + QLatin1Char(' ') + object->objectName()
                    : QStringLiteral("?"))
        .arg(static_cast<int>(node.role()));
}

// The faults of the visible part of the tree below node.
void CollectFaults(QAccessibleInterface& node, QStringList& faults) {
    for (int i = 0; i < node.childCount(); ++i) {
        QAccessibleInterface* child = node.child(i);
        if (!child || child->state().invisible) continue;
        // A container that hands its focus on (a tab widget to its tabs)
        // is reached through that control.
        const auto* widget = qobject_cast<const QWidget*>(child->object());
        const bool handsFocusOn = widget && widget->focusProxy();
        const bool interactive = IsInteractiveRole(child->role()) || (child->state().focusable && !handsFocusOn);
        if (interactive && child->role() == QAccessible::Client)
            faults << Describe(*child) + QStringLiteral(" is a filler");
        if (interactive && child->text(QAccessible::Name).trimmed().isEmpty())
            faults << Describe(*child) + QStringLiteral(" has no name");
        CollectFaults(*child, faults);
    }
}

// A window's own faults and those of its controls, one a line.
QStringList CollectWindowFaults(QWidget& window) {
    QStringList faults;
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(&window);
    if (!node) return {QStringLiteral("no accessible interface")};
    if (node->role() != QAccessible::Window && node->role() != QAccessible::Dialog)
        faults << Describe(*node) + QStringLiteral(" is no frame or dialog");
    if (node->text(QAccessible::Name).isEmpty() || node->text(QAccessible::Name) != window.windowTitle())
        faults << Describe(*node) + QStringLiteral(" is not named by its title \"") + window.windowTitle() +
                      QLatin1Char('"');
    CollectFaults(*node, faults);
    return faults;
}

std::string WindowFaults(QWidget& window) { return CollectWindowFaults(window).join(QLatin1Char('\n')).toStdString(); }

class AccessibleTreeTest : public MainWindowLanguageTest {
protected:
    void SetUp() override {
        MainWindowLanguageTest::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    }
};

TEST_P(AccessibleTreeTest, TheMainWindowNamesEveryControl) {
    EXPECT_EQ(WindowFaults(Window()), "");
    QAccessibleInterface* log = QAccessible::queryAccessibleInterface(Window().memLog);
    QAccessibleInterface* input = QAccessible::queryAccessibleInterface(Window().edtLine);
    ASSERT_TRUE(log && input);
    EXPECT_EQ(log->text(QAccessible::Name).toStdString(), FLanguages.GetText("QEN500"));
    EXPECT_EQ(input->text(QAccessible::Name).toStdString(), FLanguages.GetText("QEN501"));
    EXPECT_EQ(input->role(), QAccessible::EditableText);
    EXPECT_TRUE(log->state().readOnly);
}

TEST_P(AccessibleTreeTest, TheUnitWindowNamesEveryControl) {
    Window().actUnit->trigger();
    ASSERT_NE(Window().UnitWindow(), nullptr);
    EXPECT_EQ(Window().UnitWindow()->windowTitle().toStdString(), FLanguages.GetText("QEN511"));
    EXPECT_EQ(WindowFaults(*Window().UnitWindow()), "");
}

TEST_P(AccessibleTreeTest, EveryDroppedListIsNamedAfterItsSelector) {
    Window().actUnit->trigger();
    TfrmCalUnit& unit = *Window().UnitWindow();
    for (TQuenComboBox* selector : {unit.cmbGroup, unit.cmbFromUnit, unit.cmbToUnit}) {
        selector->Click();
        TQuenPopupList* list = selector->PopupList();
        ASSERT_NE(list, nullptr);
        ASSERT_TRUE(list->isVisible());
        EXPECT_EQ(WindowFaults(*list), "");
        EXPECT_EQ(list->windowTitle(), selector->accessibleName());
        list->hide();
    }
}

TEST_P(AccessibleTreeTest, TheHelpWindowIsAFrameWithItsText) {
    Window().actHelpContents->trigger();
    ASSERT_NE(Window().HelpWindow(), nullptr);
    EXPECT_EQ(WindowFaults(*Window().HelpWindow()), "");
}

TEST_P(AccessibleTreeTest, TheOptionsDialogNamesEveryControlOnEveryPage) {
    TfrmCalOption dialog(*FSettings, FLanguages, FModules, &Window());
    for (int page = 0; page < 4; ++page) {
        dialog.SetActivePage(page);
        dialog.show();
        EXPECT_EQ(WindowFaults(dialog), "") << "page " << page;
    }
}

// German, Japanese and the built-in English, in the order they are gathered.
INSTANTIATE_TEST_SUITE_P(EveryLanguage, AccessibleTreeTest, ::testing::Values(0u, 1u, 2u));

}  // namespace
}  // namespace quenmark::test

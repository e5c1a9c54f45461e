#include "ui/accessible_controls.h"

#include "ui/quen_button.h"
#include "ui/quen_combo_box.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace quenmark {

namespace {

// A TQuenButton or TQuenComboBox: named by its accessible name, else by its
// caption; pressed through its click.
class TAccessibleQuenButton : public QAccessibleWidget {
public:
    TAccessibleQuenButton(TQuenButton* button, QAccessible::Role role) : QAccessibleWidget(button, role) {}

    QString text(QAccessible::Text kind) const override {
        const TQuenButton& button = *static_cast<TQuenButton*>(widget());
        if (kind == QAccessible::Name) {
            const QString name = button.accessibleName();
            return name.isEmpty() ? button.Text() : name;
        }
        if (kind == QAccessible::Value && role() == QAccessible::ComboBox) return button.Text();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const auto& button = *static_cast<TQuenButton*>(widget());
        if (button.Popup() || role() == QAccessible::ComboBox) state.hasPopup = true;
        return state;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        names.prepend(role() == QAccessible::ComboBox ? showMenuAction() : pressAction());
        return names;
    }

    void doAction(const QString& name) override {
        if (name == pressAction() || name == showMenuAction()) {
            static_cast<TQuenButton*>(widget())->ClickFromKeyboard();
            return;
        }
        QAccessibleWidget::doAction(name);
    }
};

// Whether the widget is a window built directly on QWidget, which Qt would
// otherwise present as a plain client area.
bool IsPlainWindow(const QObject& object) {
    const QMetaObject* type = object.metaObject();
    return static_cast<const QWidget&>(object).isWindow() && type->superClass() == &QWidget::staticMetaObject;
}

QAccessibleInterface* CreateAccessible(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    // Asked once per class from the object's own up to QObject: answer for
    // its own class only, so that the closest rule applies.
    if (className != QLatin1String(object->metaObject()->className())) return nullptr;
    if (auto* combo = qobject_cast<TQuenComboBox*>(object))
        return new TAccessibleQuenButton(combo, QAccessible::ComboBox);
    if (auto* button = qobject_cast<TQuenButton*>(object))
        return new TAccessibleQuenButton(button, QAccessible::Button);
    if (IsPlainWindow(*object)) return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

}  // namespace

void InstallAccessibleControls() {
    static const bool installed = [] {
        QAccessible::installFactory(CreateAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace quenmark

#include "ui/main_window_error_handler.h"

#include "ui/window_helpers.h"

#include <QApplication>
#include <QMessageBox>

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace quenmark {

namespace {

QString WithoutNamespace(const QString& name) {
    const qsizetype separator = name.lastIndexOf(QStringLiteral("::"));
    return separator < 0 ? name : name.mid(separator + 2);
}

// The window the box belongs to: the reporter's, else the active one.
QWidget* ErrorBoxOwner(const QObject* reporter) {
    const auto* widget = qobject_cast<const QWidget*>(reporter);
    QWidget* window = widget ? widget->window() : nullptr;
    if (window && window->isVisible()) return window;
    return QApplication::activeWindow();
}

}  // namespace

QString ErrorHandlerText(const QString& moduleName, const QString& exceptionType, const QString& message) {
    const QString lineEnd = QStringLiteral("\r\n");
    return QStringLiteral("Error handler caught the internal exception.") + lineEnd +
           QStringLiteral("Module is ") + moduleName + lineEnd + QStringLiteral("Exception Type is ") +
           exceptionType + lineEnd + QStringLiteral("Message is ") + message + lineEnd;
}

QString ExceptionTypeName(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return WithoutNamespace(QString::fromUtf8(status == 0 && demangled ? demangled.get() : mangled));
}

QString ReporterName(const QObject* object) {
    if (!object) return QStringLiteral("Application");
    return WithoutNamespace(QString::fromUtf8(object->metaObject()->className()));
}

void ShowApplicationError(const QObject* reporter, const std::exception& error) {
    // The box breaks lines at LF and needs no break after the last one.
    QString text = ErrorHandlerText(ReporterName(reporter), ExceptionTypeName(error),
                                    QString::fromUtf8(error.what()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.chop(1);
    QWidget* owner = ErrorBoxOwner(reporter);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Quenmark Error Handler"), text, QMessageBox::Ok, owner);
    // Above its owner; without one, above every window, so that an
    // always-on-top calculator cannot cover it.
    if (owner) KeepAboveOwner(box);
    else box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

TQuenApplication::TQuenApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQuenApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowApplicationError(receiver, error);
    }
    return false;
}

}  // namespace quenmark

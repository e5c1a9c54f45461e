#pragma once

#include <QApplication>
#include <QString>

#include <exception>

namespace quenmark {

// The four lines of the error message box, each ended by CR LF.
QString ErrorHandlerText(const QString& moduleName, const QString& exceptionType, const QString& message);

// The readable class name of an exception object, without the namespace.
QString ExceptionTypeName(const std::exception& error);
// The class name of the object that reported an exception, without the
// namespace; "Application" without one.
QString ReporterName(const QObject* object);

// Shows the error message box "Quenmark Error Handler" for an exception
// that reached the event loop.
void ShowApplicationError(const QObject* reporter, const std::exception& error);

// The desktop program's application object: an exception that escapes an
// event handler is reported in the error message box, and the program goes on.
class TQuenApplication : public QApplication {
    Q_OBJECT

public:
    TQuenApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace quenmark

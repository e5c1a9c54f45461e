#include "main_window_test_support.h"

#include "ui/main_window_error_handler.h"
#include "base/exception.h"

#include <QMessageBox>
#include <QTimer>

#include <stdexcept>

namespace quenmark::test {
namespace {

TEST(ErrorHandler, TheBoxTextIsFourLinesEachEndedByCrLf) {
    EXPECT_EQ(ErrorHandlerText(QStringLiteral("TfrmCalQuen"), QStringLiteral("EConvertError"), QStringLiteral("bad")),
              QStringLiteral("Error handler caught the internal exception.\r\n"
                             "Module is TfrmCalQuen\r\n"
                             "Exception Type is EConvertError\r\n"
                             "Message is bad\r\n"));
}

TEST(ErrorHandler, NamesTheExceptionsClassAndTheReportersClass) {
    EXPECT_EQ(ExceptionTypeName(EConvertError()), QStringLiteral("EConvertError"));
    EXPECT_EQ(ExceptionTypeName(EINError("x")), QStringLiteral("EINError"));
    EXPECT_EQ(ExceptionTypeName(std::runtime_error("x")), QStringLiteral("runtime_error"));
    QMessageBox box;
    EXPECT_EQ(ReporterName(&box), QStringLiteral("QMessageBox"));
    EXPECT_EQ(ReporterName(nullptr), QStringLiteral("Application"));
}

TEST(ErrorHandler, TheBoxShowsTheFourLinesUnderItsCaption) {
    QString seen;
    QTimer::singleShot(0, [&seen]() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = box->windowTitle() + QLatin1Char('|') + box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        box->accept();
    });
    QMessageBox reporter;
    ShowApplicationError(&reporter, EZeroDivide());
    EXPECT_EQ(seen, QStringLiteral("Quenmark Error Handler|Error handler caught the internal exception.\n"
                                   "Module is QMessageBox\nException Type is EZeroDivide\n"
                                   "Message is Division by zero."));
}

}  // namespace
}  // namespace quenmark::test

#include "ui/help_window.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>

namespace quenmark {

namespace {

constexpr int DefaultWidth = 560;
constexpr int DefaultHeight = 480;

}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setOpenExternalLinks(true);
    resize(DefaultWidth, DefaultHeight);
}

void THelpWindow::SetHelpFile(const QString& path) { FHelpFile = path; }

// The file is read afresh, so that a help file changed with the language is
// shown; links inside it resolve beside it.
void THelpWindow::LoadAndShow() {
    QFile file(FHelpFile);
    if (FHelpFile.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        setPlainText(QStringLiteral("The help file %1 cannot be opened.").arg(FHelpFile));
        setWindowTitle(QStringLiteral("Quenmark"));
    } else {
        setSearchPaths({QFileInfo(FHelpFile).absolutePath()});
        setHtml(QString::fromUtf8(file.readAll()));
        const QString title = documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Quenmark") : title);
    }
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void THelpWindow::ShowContents() {
    LoadAndShow();
    verticalScrollBar()->setValue(0);
}

void THelpWindow::ShowContext(int context) {
    LoadAndShow();
    scrollToAnchor(QString::number(context));
}

}  // namespace quenmark

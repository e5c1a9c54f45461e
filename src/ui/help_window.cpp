#include "ui/help_window.h"

#include "ui/accessible_controls.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace quenmark {

namespace {

constexpr int DefaultWidth = 560;
constexpr int DefaultHeight = 480;

}  // namespace

// A plain window holding the browser, so that the desktop and assistive
// technologies see a frame with the help's title around the text.
THelpWindow::THelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), FMissingFileText(QStringLiteral("The help file %1 cannot be opened.")) {
    InstallAccessibleControls();
    FBrowser = new QTextBrowser(this);
    FBrowser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FBrowser);
    setFocusProxy(FBrowser);
    setWindowTitle(QStringLiteral("Quenmark"));
    resize(DefaultWidth, DefaultHeight);
}

void THelpWindow::SetHelpFile(const QString& path) { FHelpFile = path; }

void THelpWindow::SetMissingFileText(const QString& text) { FMissingFileText = text; }

QString THelpWindow::toPlainText() const { return FBrowser->toPlainText(); }

QScrollBar* THelpWindow::verticalScrollBar() const { return FBrowser->verticalScrollBar(); }

// The file is read afresh, so that a help file changed with the language is
// shown; links inside it resolve beside it.
void THelpWindow::LoadAndShow() {
    QFile file(FHelpFile);
    if (FHelpFile.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        FBrowser->setPlainText(FMissingFileText.contains(QLatin1String("%1"))
                                   ? FMissingFileText.arg(FHelpFile)
                                   : FMissingFileText + QLatin1Char(' ') + FHelpFile);
        setWindowTitle(QStringLiteral("Quenmark"));
    } else {
        FBrowser->setSearchPaths({QFileInfo(FHelpFile).absolutePath()});
        FBrowser->setHtml(QString::fromUtf8(file.readAll()));
        const QString title = FBrowser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Quenmark") : title);
    }
    FBrowser->setAccessibleName(windowTitle());
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    FBrowser->setFocus(Qt::OtherFocusReason);
}

void THelpWindow::ShowContents() {
    LoadAndShow();
    FBrowser->verticalScrollBar()->setValue(0);
}

void THelpWindow::ShowContext(int context) {
    LoadAndShow();
    FBrowser->scrollToAnchor(QString::number(context));
}

void THelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace quenmark

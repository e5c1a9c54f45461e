#pragma once

#include <QString>
#include <QWidget>

class QScrollBar;
class QTextBrowser;

namespace quenmark {

// The help system: an HTML help file shown in a browser inside a window of
// its own, opened at its beginning (the contents) or at the anchor named by
// a context number. Escape closes it.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // The help file to show from now on (a full path); read at each showing.
    void SetHelpFile(const QString& path);
    const QString& HelpFile() const { return FHelpFile; }
    // The text shown when the help file cannot be opened; a "%1" in it
    // stands for the file's path.
    void SetMissingFileText(const QString& text);

    // Shows the file from its beginning.
    void ShowContents();
    // Shows the file at the anchor named by the number ("200" for 200).
    void ShowContext(int context);

    QTextBrowser* Browser() const { return FBrowser; }
    QString toPlainText() const;
    QScrollBar* verticalScrollBar() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadAndShow();

    QTextBrowser* FBrowser = nullptr;
    QString FHelpFile;
    QString FMissingFileText;
};

}  // namespace quenmark

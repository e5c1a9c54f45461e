#pragma once

#include <QString>
#include <QTextBrowser>

namespace quenmark {

// The help system: an HTML help file shown in a browser window, opened at
// its beginning (the contents) or at the anchor named by a context number.
class THelpWindow : public QTextBrowser {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // The help file to show from now on (a full path); read at each showing.
    void SetHelpFile(const QString& path);
    const QString& HelpFile() const { return FHelpFile; }

    // Shows the file from its beginning.
    void ShowContents();
    // Shows the file at the anchor named by the number ("200" for 200).
    void ShowContext(int context);

private:
    void LoadAndShow();

    QString FHelpFile;
};

}  // namespace quenmark

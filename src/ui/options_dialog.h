#pragma once

#include <QDialog>

namespace quenmark {

class TSettings;
class TCCLanguageList;
class TVMModuleList;

// The options dialog: edits the settings on four pages (0 basic, 1, 2, and
// 3 about) and lists the loaded modules and languages. Accepting it writes
// the edited values into the settings.
class TfrmCalOption : public QDialog {
    Q_OBJECT
public:
    TfrmCalOption(TSettings& settings, TCCLanguageList& languages, const TVMModuleList& modules,
                  QWidget* parent = nullptr);
    ~TfrmCalOption() override;

    void SetActivePage(int page);
};

}  // namespace quenmark

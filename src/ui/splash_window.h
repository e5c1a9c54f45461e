#pragma once

#include <QWidget>

namespace quenmark {

// The window shown while the program starts. It goes away when both its
// timer has fired and the main window is ready, in either order.
class TfrmCalSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmCalSplash(QWidget* parent = nullptr);
    ~TfrmCalSplash() override;

    // The main window's half of the release hand-shake: releases the
    // window when its timer has already fired, otherwise marks it ready.
    void MainWindowReady();
    bool ReadyToClose() const;
};

}  // namespace quenmark

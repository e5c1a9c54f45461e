#pragma once

#include <QWidget>

#include <string>

class QLabel;
class QTimer;

namespace quenmark {

class TSettings;

// The window shown while the program starts. It goes away when both its
// timer has fired and the main window is ready, in either order.
class TfrmCalSplash : public QWidget {
    Q_OBJECT
public:
    // How long the splash stays at least, in milliseconds.
    static constexpr int MinimumShowMs = 2800;
    // The fixed credit line under the copyright.
    static constexpr const char* CreditText = "Thanks to everyone who tested and translated.";

    // The splash in the colours of settings, with the version information of
    // the executable file (build and copyright stay empty when it has none).
    TfrmCalSplash(const TSettings& settings, const std::string& executable, QWidget* parent = nullptr);
    ~TfrmCalSplash() override;

    // The main window's half of the release hand-shake: releases the
    // window when its timer has already fired, otherwise marks it ready.
    void MainWindowReady();
    bool ReadyToClose() const;

    // The timer's half of the hand-shake, run once when it fires.
    void TimerTimer();
    QTimer* Timer() const { return FTimer; }

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblBuild;
    QLabel* lblCopyright;
    QLabel* lblCredit;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateLabels();
    void ReadVersion(const std::string& executable);
    void PlaceLabels();
    // Closes the window, which deletes it.
    void Release();

    const TSettings& FSettings;
    QTimer* FTimer;
    bool FReadyToClose = false;
};

}  // namespace quenmark

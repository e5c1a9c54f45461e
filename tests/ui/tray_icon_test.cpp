#include "ui/tray_icon.h"

#include "ui/qt_tray_shell.h"

#include "widget_test_support.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QPixmap>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace quenmark {
namespace {

// What a tray icon asked of the notification area.
struct ShellLog {
    std::vector<TNotifyIconData> adds;
    std::vector<TNotifyIconData> modifies;
    std::vector<int> deletes;
    bool refuse = false;
    bool available = true;
};

class RecordingShell : public TTrayShell {
public:
    explicit RecordingShell(ShellLog& log) : FLog(log) {}

    bool Add(const TNotifyIconData& data) override {
        FLog.adds.push_back(data);
        return !FLog.refuse;
    }
    bool Modify(const TNotifyIconData& data) override {
        FLog.modifies.push_back(data);
        return !FLog.refuse;
    }
    void Delete(int id) override { FLog.deletes.push_back(id); }
    bool Available() const override { return FLog.available; }

private:
    ShellLog& FLog;
};

QIcon Picture(Qt::GlobalColor color = Qt::red) {
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSavedInterval = QApplication::doubleClickInterval();
        QApplication::setDoubleClickInterval(100);
        FIcon = MakeIcon(FLog);
    }

    void TearDown() override {
        FIcon.reset();
        QApplication::setDoubleClickInterval(FSavedInterval);
    }

    static std::unique_ptr<TTrayIcon> MakeIcon(ShellLog& log) {
        return std::make_unique<TTrayIcon>(nullptr, std::make_unique<RecordingShell>(log));
    }

    void Activate(std::initializer_list<QSystemTrayIcon::ActivationReason> reasons) {
        for (QSystemTrayIcon::ActivationReason reason : reasons) FIcon->Activated(reason);
    }

    void CountClicks() {
        FIcon->OnClick = [this](QObject*) {
            ++FClicks;
            FClickAfterMs = FSinceRelease.elapsed();
        };
        FIcon->OnDblClick = [this](QObject*) { ++FDoubleClicks; };
    }

    void SingleClick() {
        Activate({QSystemTrayIcon::Trigger});
        FSinceRelease.start();
    }

    // Lets the single-click delay (100 + 50 ms here) run out.
    static void WaitPastTheClickDelay() { QTest::qWait(400); }

    ShellLog FLog;
    std::unique_ptr<TTrayIcon> FIcon;
    int FSavedInterval = 0;
    int FClicks = 0;
    int FDoubleClicks = 0;
    qint64 FClickAfterMs = -1;
    QElapsedTimer FSinceRelease;
};

TEST_F(TrayIconTest, Defaults) {
    EXPECT_TRUE(FIcon->AutoPopup());
    EXPECT_TRUE(FIcon->Enabled());
    EXPECT_TRUE(FIcon->Icon().isNull());
    EXPECT_EQ(FIcon->LBPopupMenu(), nullptr);
    EXPECT_EQ(FIcon->RBPopupMenu(), nullptr);
    EXPECT_EQ(FIcon->TipHelp(), QString("TipHelp"));
    EXPECT_FALSE(FIcon->Visible());
    EXPECT_FALSE(FIcon->Shown());
    EXPECT_FALSE(FIcon->ClickPending());
}

TEST_F(TrayIconTest, ReportsWhetherTheDesktopHasANotificationArea) {
    EXPECT_TRUE(FIcon->Available());
    FLog.available = false;
    EXPECT_FALSE(FIcon->Available());
}

TEST_F(TrayIconTest, EachIconKeepsItsEntryInItsOwnShell) {
    ShellLog otherLog;
    auto other = MakeIcon(otherLog);
    for (TTrayIcon* icon : {FIcon.get(), other.get()}) {
        icon->SetIcon(Picture());
        icon->SetVisible(true);
    }
    ASSERT_EQ(FLog.adds.size(), 1u);
    ASSERT_EQ(otherLog.adds.size(), 1u);
    EXPECT_EQ(FLog.adds[0].ID, TTrayIcon::EntryID);
    EXPECT_EQ(otherLog.adds[0].ID, TTrayIcon::EntryID);
    other.reset();
    EXPECT_EQ(otherLog.deletes, std::vector<int>{TTrayIcon::EntryID});
    EXPECT_TRUE(FLog.deletes.empty());
    EXPECT_TRUE(FIcon->Shown());
}

TEST_F(TrayIconTest, VisibleNeedsAPicture) {
    FIcon->SetVisible(true);
    EXPECT_FALSE(FIcon->Visible());
    EXPECT_TRUE(FLog.adds.empty());
    FIcon->SetIcon(Picture());
    FIcon->SetVisible(true);
    EXPECT_TRUE(FIcon->Visible());
    EXPECT_TRUE(FIcon->Shown());
    ASSERT_EQ(FLog.adds.size(), 1u);
    EXPECT_EQ(FLog.adds[0].ID, FIcon->TrayID());
    EXPECT_EQ(FLog.adds[0].Flags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    EXPECT_EQ(FLog.adds[0].Tip, QString("TipHelp"));
    EXPECT_EQ(FLog.adds[0].Icon.cacheKey(), FIcon->Icon().cacheKey());
}

TEST_F(TrayIconTest, EmptyTipIsNotSent) {
    FIcon->SetTipHelp("");
    FIcon->SetIcon(Picture());
    FIcon->SetVisible(true);
    ASSERT_EQ(FLog.adds.size(), 1u);
    EXPECT_EQ(FLog.adds[0].Flags, NIF_MESSAGE | NIF_ICON);
}

TEST_F(TrayIconTest, HidingDeletesTheEntry) {
    FIcon->SetIcon(Picture());
    FIcon->SetVisible(true);
    FIcon->SetVisible(false);
    EXPECT_FALSE(FIcon->Shown());
    EXPECT_EQ(FLog.deletes, std::vector<int>{FIcon->TrayID()});
    FIcon->SetVisible(false);
    EXPECT_EQ(FLog.deletes.size(), 1u);
}

TEST_F(TrayIconTest, TipIsCutTo62CharactersAndSentOnce) {
    FIcon->SetIcon(Picture());
    FIcon->SetVisible(true);
    const QString seventy(70, QChar('x'));
    FIcon->SetTipHelp(seventy);
    EXPECT_EQ(FIcon->TipHelp(), QString(62, QChar('x')));
    ASSERT_EQ(FLog.modifies.size(), 1u);
    EXPECT_EQ(FLog.modifies[0].Tip, QString(62, QChar('x')));
    FIcon->SetTipHelp(QString(62, QChar('x')));
    FIcon->SetTipHelp(seventy);
    EXPECT_EQ(FLog.modifies.size(), 1u);
}

TEST_F(TrayIconTest, TipChangeOfAHiddenIconIsOnlyStored) {
    FIcon->SetTipHelp("Quenmark");
    EXPECT_EQ(FIcon->TipHelp(), QString("Quenmark"));
    EXPECT_TRUE(FLog.modifies.empty());
}

TEST_F(TrayIconTest, NewPictureUpdatesAShownEntry) {
    FIcon->SetIcon(Picture());
    FIcon->SetVisible(true);
    const QIcon same = FIcon->Icon();
    FIcon->SetIcon(same);
    EXPECT_TRUE(FLog.modifies.empty());
    FIcon->SetIcon(Picture(Qt::blue));
    ASSERT_EQ(FLog.modifies.size(), 1u);
    EXPECT_EQ(FLog.modifies[0].Icon.cacheKey(), FIcon->Icon().cacheKey());
}

TEST_F(TrayIconTest, ClearingThePictureHidesTheIcon) {
    FIcon->SetIcon(Picture());
    FIcon->SetVisible(true);
    FIcon->SetIcon(QIcon());
    EXPECT_TRUE(FIcon->Icon().isNull());
    EXPECT_FALSE(FIcon->Visible());
    EXPECT_FALSE(FIcon->Shown());
    EXPECT_EQ(FLog.deletes.size(), 1u);
}

TEST_F(TrayIconTest, RefusedEntryFailsWithTheTrayMessage) {
    FLog.refuse = true;
    FIcon->SetIcon(Picture());
    EXPECT_THROW(FIcon->SetVisible(true), EOutOfMemory);
    EXPECT_FALSE(FIcon->Shown());
    FLog.refuse = false;
    FIcon->UpdateTray(NIM_ADD);
    EXPECT_TRUE(FIcon->Shown());
    FLog.refuse = true;
    EXPECT_THROW(FIcon->SetTipHelp("changed"), EOutOfMemory);
}

TEST_F(TrayIconTest, LoadingDefersTheEntryUntilLoaded) {
    FIcon->BeginLoading();
    FIcon->SetIcon(Picture());
    FIcon->SetVisible(true);
    EXPECT_TRUE(FLog.adds.empty());
    FIcon->Loaded();
    EXPECT_EQ(FLog.adds.size(), 1u);
    EXPECT_TRUE(FIcon->Shown());
}

TEST_F(TrayIconTest, DestroyingAShownIconDeletesItsEntry) {
    FIcon->SetIcon(Picture());
    FIcon->SetVisible(true);
    const int id = FIcon->TrayID();
    FIcon.reset();
    EXPECT_EQ(FLog.deletes, std::vector<int>{id});
}

TEST_F(TrayIconTest, SingleClickFiresOnceAfterTheDoubleClickTime) {
    CountClicks();
    SingleClick();
    EXPECT_TRUE(FIcon->ClickPending());
    EXPECT_EQ(FClicks, 0);
    WaitPastTheClickDelay();
    EXPECT_EQ(FClicks, 1);
    EXPECT_GE(FClickAfterMs, 100 + TTrayIcon::SingleClickMarginMs);
    EXPECT_FALSE(FIcon->ClickPending());
}

TEST_F(TrayIconTest, DoubleClickFiresOnlyOnDblClick) {
    CountClicks();
    SingleClick();
    Activate({QSystemTrayIcon::DoubleClick});
    EXPECT_FALSE(FIcon->ClickPending());
    WaitPastTheClickDelay();
    EXPECT_EQ(FDoubleClicks, 1);
    EXPECT_EQ(FClicks, 0);
}

TEST_F(TrayIconTest, MouseUpHandlerTakesTheReleaseInsteadOfClick) {
    CountClicks();
    std::vector<TMouseButton> ups;
    FIcon->OnMouseUp = [&](QObject*, TMouseButton button, TShiftState shift, int, int) {
        ups.push_back(button);
        EXPECT_EQ(shift, TShiftState(button == mbLeft ? ssLeft : ssRight));
    };
    SingleClick();
    Activate({QSystemTrayIcon::Context});
    WaitPastTheClickDelay();
    EXPECT_EQ(ups, (std::vector<TMouseButton>{mbLeft, mbRight}));
    EXPECT_EQ(FClicks, 0);
}

TEST_F(TrayIconTest, WithoutClickHandlerNoClickWaits) {
    Activate({QSystemTrayIcon::Trigger});
    EXPECT_FALSE(FIcon->ClickPending());
}

TEST_F(TrayIconTest, ASecondClickWithinTheDelayCancelsTheFirst) {
    CountClicks();
    SingleClick();
    SingleClick();
    EXPECT_FALSE(FIcon->ClickPending());
    WaitPastTheClickDelay();
    EXPECT_EQ(FClicks, 0);
}

TEST_F(TrayIconTest, DisablingCancelsThePendingClickAndIgnoresMessages) {
    CountClicks();
    int downs = 0;
    FIcon->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    QMenu menu;
    menu.addAction("Show");
    FIcon->SetRBPopupMenu(&menu);
    SingleClick();
    downs = 0;
    FIcon->SetEnabled(false);
    EXPECT_FALSE(FIcon->ClickPending());
    Activate({QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context,
              QSystemTrayIcon::MiddleClick});
    WaitPastTheClickDelay();
    EXPECT_EQ(FClicks, 0);
    EXPECT_EQ(FDoubleClicks, 0);
    EXPECT_EQ(downs, 0);
    EXPECT_FALSE(menu.isVisible());
}

TEST_F(TrayIconTest, ButtonMenusOpenAtTheCursor) {
    QMenu left;
    left.addAction("Left");
    QMenu right;
    right.addAction("Right");
    FIcon->SetLBPopupMenu(&left);
    FIcon->SetRBPopupMenu(&right);
    int downs = 0;
    FIcon->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    QCursor::setPos(300, 250);
    Activate({QSystemTrayIcon::Context});
    EXPECT_TRUE(right.isVisible());
    EXPECT_EQ(right.pos(), QPoint(300, 250));
    right.hide();
    Activate({QSystemTrayIcon::Trigger});
    EXPECT_TRUE(left.isVisible());
    left.hide();
    EXPECT_EQ(downs, 0);
}

TEST_F(TrayIconTest, WithoutAutoPopupAPressIsAMouseDown) {
    QMenu menu;
    menu.addAction("Left");
    FIcon->SetLBPopupMenu(&menu);
    FIcon->SetAutoPopup(false);
    std::vector<std::tuple<TMouseButton, TShiftState, int, int>> downs;
    FIcon->OnMouseDown = [&](QObject*, TMouseButton b, TShiftState s, int x, int y) {
        downs.emplace_back(b, s, x, y);
    };
    QCursor::setPos(40, 50);
    Activate({QSystemTrayIcon::Trigger, QSystemTrayIcon::MiddleClick});
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(downs, (std::vector<std::tuple<TMouseButton, TShiftState, int, int>>{
                         {mbLeft, ssLeft, 40, 50}, {mbMiddle, ssMiddle, 40, 50}}));
}

TEST_F(TrayIconTest, MovesReportTheCursorPosition) {
    QPoint seen;
    FIcon->OnMouseMove = [&](QObject*, TShiftState shift, int x, int y) {
        EXPECT_EQ(shift, 0u);
        seen = QPoint(x, y);
    };
    QCursor::setPos(123, 45);
    Activate({QSystemTrayIcon::Context});
    EXPECT_EQ(seen, QPoint(123, 45));
}

TEST_F(TrayIconTest, DestroyedMenuIsForgotten) {
    auto* menu = new QMenu;
    FIcon->SetRBPopupMenu(menu);
    FIcon->SetLBPopupMenu(menu);
    delete menu;
    EXPECT_EQ(FIcon->RBPopupMenu(), nullptr);
    EXPECT_EQ(FIcon->LBPopupMenu(), nullptr);
    Activate({QSystemTrayIcon::Context});
}

TEST_F(TrayIconTest, DestroyingTheIconWhileAClickIsPendingIsSafe) {
    CountClicks();
    SingleClick();
    FIcon.reset();
    WaitPastTheClickDelay();
    EXPECT_EQ(FClicks, 0);
}

TEST_F(TrayIconTest, AHandlerMayDestroyTheIcon) {
    FIcon->OnMouseMove = [this](QObject*, TShiftState, int, int) { FIcon.reset(); };
    Activate({QSystemTrayIcon::Trigger});
    EXPECT_EQ(FIcon, nullptr);
}

// The events each activation gives, in order, with every handler but
// OnClick set and no menus.
struct ActivationRow {
    const char* name;
    friend void PrintTo(const ActivationRow& row, std::ostream* os) { *os << row.name; }
    QSystemTrayIcon::ActivationReason reason;
    std::vector<std::string> events;
};

class TrayActivationTest : public TrayIconTest, public ::testing::WithParamInterface<ActivationRow> {};

TEST_P(TrayActivationTest, ActivationGivesTheMouseEvents) {
    std::vector<std::string> events;
    const char* buttons[] = {"left", "right", "middle"};
    FIcon->OnMouseMove = [&](QObject*, TShiftState, int, int) { events.push_back("move"); };
    FIcon->OnMouseDown = [&](QObject*, TMouseButton button, TShiftState, int, int) {
        events.push_back(std::string("down ") + buttons[button]);
    };
    FIcon->OnMouseUp = [&](QObject*, TMouseButton button, TShiftState, int, int) {
        events.push_back(std::string("up ") + buttons[button]);
    };
    FIcon->OnDblClick = [&](QObject*) { events.push_back("double"); };
    FIcon->Activated(GetParam().reason);
    EXPECT_EQ(events, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, TrayActivationTest,
    ::testing::Values(
        ActivationRow{"Trigger", QSystemTrayIcon::Trigger, {"move", "down left", "up left"}},
        ActivationRow{"DoubleClick", QSystemTrayIcon::DoubleClick, {"double", "up left"}},
        ActivationRow{"Context", QSystemTrayIcon::Context, {"move", "down right", "up right"}},
        ActivationRow{"MiddleClick", QSystemTrayIcon::MiddleClick, {"move", "down middle", "up middle"}},
        ActivationRow{"Unknown", QSystemTrayIcon::Unknown, {}}),
    [](const auto& row) { return std::string(row.param.name); });

// The desktop's own notification area, driven by synthetic activations.
class DesktopTrayIconTest : public TrayIconTest {
protected:
    void SetUp() override {
        TrayIconTest::SetUp();
        FIcon.reset();
        FIcon = std::make_unique<TTrayIcon>();
        FIcon->SetIcon(Picture());
        FIcon->SetVisible(true);
        CountClicks();
    }

    void Activate(QSystemTrayIcon::ActivationReason reason) {
        auto& shell = static_cast<TQtTrayShell&>(FIcon->Shell());
        emit shell.SystemTrayIcon().activated(reason);
        if (reason == QSystemTrayIcon::Trigger) FSinceRelease.start();
    }
};

TEST_F(DesktopTrayIconTest, EntryCarriesPictureAndTip) {
    auto& shell = static_cast<TQtTrayShell&>(FIcon->Shell());
    EXPECT_TRUE(FIcon->Shown());
    EXPECT_EQ(shell.SystemTrayIcon().toolTip(), QString("TipHelp"));
    FIcon->SetTipHelp("Quenmark");
    EXPECT_EQ(shell.SystemTrayIcon().toolTip(), QString("Quenmark"));
    EXPECT_FALSE(shell.SystemTrayIcon().icon().isNull());
    FIcon->SetVisible(false);
    EXPECT_FALSE(shell.SystemTrayIcon().isVisible());
}

TEST_F(DesktopTrayIconTest, TriggerIsASingleClick) {
    Activate(QSystemTrayIcon::Trigger);
    EXPECT_EQ(FClicks, 0);
    WaitPastTheClickDelay();
    EXPECT_EQ(FClicks, 1);
    EXPECT_GE(FClickAfterMs, 100 + TTrayIcon::SingleClickMarginMs);
}

TEST_F(DesktopTrayIconTest, TriggerThenDoubleClickIsOnlyADoubleClick) {
    Activate(QSystemTrayIcon::Trigger);
    Activate(QSystemTrayIcon::DoubleClick);
    WaitPastTheClickDelay();
    EXPECT_EQ(FDoubleClicks, 1);
    EXPECT_EQ(FClicks, 0);
}

TEST_F(DesktopTrayIconTest, TwoSeparateClicksAreTwoClicks) {
    Activate(QSystemTrayIcon::Trigger);
    WaitPastTheClickDelay();
    Activate(QSystemTrayIcon::Trigger);
    WaitPastTheClickDelay();
    EXPECT_EQ(FClicks, 2);
    EXPECT_EQ(FDoubleClicks, 0);
}

TEST_F(DesktopTrayIconTest, ContextOpensTheRightButtonMenu) {
    QMenu menu;
    menu.addAction("Exit");
    FIcon->SetRBPopupMenu(&menu);
    QCursor::setPos(200, 100);
    Activate(QSystemTrayIcon::Context);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), QPoint(200, 100));
    menu.hide();
    WaitPastTheClickDelay();
    EXPECT_EQ(FClicks, 0);
}

}  // namespace
}  // namespace quenmark

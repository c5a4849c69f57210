// The Qt host's own duties: the tray hand-over to the form's MouseMove, the close box, the
// no-tray fallback, modal forms, the dialogs' classic mappings and the single instance.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QComboBox>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <future>
#include <memory>
#include <thread>

#include "app/main_layout.h"
#include "app/tray_load.h"
#include "qt_fixture.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/qt_instance.h"
#include "ui/qt/resource_icon.h"

namespace qm::test {
namespace {

using HostTest = QtFormTest;

NotifyIconData iconFor(Form& form, const std::string& tip) {
    NotifyIconData data;
    data.window = &form;
    data.icon = "quillmere";
    data.tip = tip;
    return data;
}

// Each size comes from the shipped picture that covers it, scaled down where none is exact.
TEST(ResourceIcons, EverySizeIsReadFromTheShippedPictureThatCoversIt) {
    const QIcon icon = qt::resourceIcon("quillmere");
    ASSERT_EQ(icon.availableSizes().size(), 8);
    EXPECT_EQ(icon.availableSizes().back(), QSize(256, 256));
    EXPECT_EQ(icon.pixmap(QSize(32, 32)).toImage(), QPixmap(":/icons/quillmere-32.png").toImage());
    for (int side : {16, 20, 40, 300}) {
        const QPixmap picture = icon.pixmap(QSize(side, side));
        EXPECT_EQ(picture.size(), QSize(std::min(side, 256), std::min(side, 256))) << side;
        EXPECT_GT(qAlpha(picture.toImage().pixel(picture.width() / 2, picture.height() / 2)), 0) << side;
    }
    EXPECT_TRUE(qt::resourceIcon("nosuchicon").pixmap(QSize(32, 32)).isNull());
}

// The host reports what the tray said; what a click means is the core's to decide.
TEST_F(HostTest, TrayClicksReachTheFormAsTypedEvents) {
    std::vector<TrayActivation> clicks;
    form.onTrayActivated = [&](TrayEvent event) {
        EXPECT_EQ(event.tray, TrayKind::ClickThenDoubleClick);
        clicks.push_back(event.activation);
    };
    host.statusNotifierTray = [] { return false; };  // an XEmbed tray
    render();
    host.notifyIcon(NIM_ADD_, iconFor(form, "Quillmere"));
    ASSERT_NE(host.trayIcon(), nullptr);
    EXPECT_EQ(host.trayIcon()->toolTip(), "Quillmere");
    EXPECT_EQ(host.trayIcon()->contextMenu(), nullptr);  // the core pops up its own menu
    host.trayActivated(QSystemTrayIcon::DoubleClick);
    host.trayActivated(QSystemTrayIcon::Context);
    host.trayActivated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(clicks, (std::vector<TrayActivation>{TrayActivation::Double, TrayActivation::Context,
                                                   TrayActivation::Single}));

    // The tip changes every tick, and the desktop is not asked about its tray for that.
    int asked = 0;
    host.trayAvailable = [&] { return ++asked, true; };
    EXPECT_TRUE(host.notifyIcon(NIM_MODIFY_, iconFor(form, "Available 512 MB")));
    EXPECT_EQ(host.trayIcon()->toolTip(), "Available 512 MB");
    EXPECT_EQ(asked, 0);
    host.notifyIcon(NIM_DELETE_, iconFor(form, ""));
    EXPECT_EQ(host.trayIcon(), nullptr);
    EXPECT_FALSE(host.notifyIcon(NIM_MODIFY_, iconFor(form, "Available 500 MB")));  // no icon to change
}

// The core's pictures of the icon are what the tray shows, each size its own drawing.
TEST_F(HostTest, TheTrayShowsTheCoresPictureForEachSize) {
    host.statusNotifierTray = [] { return false; };
    render();
    host.notifyIcon(NIM_ADD_, iconFor(form, "Quillmere"));
    std::vector<Canvas> pictures;
    for (int size : kTrayPictureSizes) pictures.push_back(trayLoadPicture(42, size));
    host.setTrayPictures(form, pictures);
    for (int size : {16, 22, 24, 32}) {
        const QImage shown = host.trayIcon()->icon().pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(shown.width(), size);
        Canvas back(size, size);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb c = shown.pixel(x, y);
                back.setPixel(x, y, rgb(qRed(c), qGreen(c), qBlue(c)));
            }
        }
        EXPECT_EQ(digitsOf(back), "42") << size << " px";
    }
    host.setTrayPictures(form, {});
    EXPECT_EQ(host.trayIcon()->icon().pixmap(QSize(32, 32)).toImage(), QPixmap(":/icons/quillmere-32.png").toImage());
    host.notifyIcon(NIM_DELETE_, iconFor(form, ""));
}

TEST_F(HostTest, AStatusNotifierTrayIsReportedAsOneThatOnlyActivates) {
    std::vector<TrayActivation> clicks;
    form.onTrayActivated = [&](TrayEvent event) {
        EXPECT_EQ(event.tray, TrayKind::SingleActivationOnly);
        clicks.push_back(event.activation);
    };
    int asked = 0;
    host.statusNotifierTray = [&] { return ++asked, true; };
    render();
    host.notifyIcon(NIM_ADD_, iconFor(form, "Quillmere"));
    host.notifyIcon(NIM_MODIFY_, iconFor(form, "Available 512 MB"));
    host.trayActivated(QSystemTrayIcon::Trigger);  // Plasma's left click: Activate
    host.trayActivated(QSystemTrayIcon::Context);
    host.trayActivated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(clicks, (std::vector<TrayActivation>{TrayActivation::Single, TrayActivation::Context,
                                                   TrayActivation::Other}));
    EXPECT_EQ(asked, 1);  // decided once, as the icon is made
}

// The work waits until the window's timer has ticked three times: it can end only if the
// window goes on answering while it runs. Its end comes back on the window's thread.
TEST_F(HostTest, BackgroundWorkLetsTheWindowAnswerAndEndsOnItsThread) {
    std::promise<void> ticked;
    std::shared_future<void> gate = ticked.get_future().share();
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++ticks == 3) ticked.set_value();
    });
    timer.start(5);
    const std::thread::id window = std::this_thread::get_id();
    std::thread::id worker, ended;
    bool done = false;
    host.runInBackground([&] { worker = std::this_thread::get_id(), gate.wait(); },
                         [&] { ended = std::this_thread::get_id(), done = true; });
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 5000) host.waitForEvents();
    ASSERT_TRUE(done);
    EXPECT_GE(ticks, 3);
    EXPECT_NE(worker, window);
    EXPECT_EQ(ended, window);
}

TEST_F(HostTest, CloseBoxAsksTheFormAndACancelKeepsTheWindow) {
    std::vector<int> modes;
    int cancel = 1;
    form.onQueryUnload = [&](int& c, int mode) {
        modes.push_back(mode);
        c = cancel;
    };
    render();
    window().close();
    EXPECT_TRUE(form.visible());
    EXPECT_TRUE(window().isVisible());
    cancel = 0;
    window().close();
    EXPECT_FALSE(form.visible());
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(modes, (std::vector<int>{0, 0}));
}

TEST_F(HostTest, WithoutATrayTheIconsWindowIsMinimisedInsteadOfHidden) {
    host.trayAvailable = [] { return false; };
    render();
    host.notifyIcon(NIM_ADD_, iconFor(form, "Quillmere"));
    form.hide();
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(window().isMinimized());

    host.trayAvailable = [] { return true; };
    form.show();
    form.hide();
    EXPECT_FALSE(window().isVisible());
}

TEST_F(HostTest, WindowStateFollowsTheModelAndShowingFromOutsideRestoresIt) {
    render();
    form.setWindowState(WindowState::Minimized);
    EXPECT_TRUE(window().isMinimized());
    form.hide();
    window().showFromOutside();
    EXPECT_TRUE(form.visible());
    EXPECT_EQ(form.windowState(), WindowState::Normal);
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(window().isMinimized());
}

TEST_F(HostTest, ShowModalReturnsOnceTheFormIsHidden) {
    render();
    Form dialog("frmDialog");
    dialog.move(0, 0, 3000, 2000);
    bool sawItVisible = false;
    QTimer::singleShot(50, [&] {
        sawItVisible = host.windowOf(dialog)->isVisible();
        dialog.hide();
    });
    host.showModal(dialog, form);
    EXPECT_TRUE(sawItVisible);
    EXPECT_FALSE(host.windowOf(dialog)->isVisible());
    EXPECT_TRUE(host.windowOf(dialog)->isModal());
}

TEST_F(HostTest, AMenuItemMayUnloadItselfInItsOwnClick) {
    auto& file = form.add<Menu>("mnuFile");
    form.add<Menu>("mnuP1", &file, 0).setCaption("Zero");
    render();
    Menu& loaded = form.loadMenuElement("mnuP1", 1);
    loaded.onClick = [&] { form.unloadElement("mnuP1", 1); };
    QMenu* menu = opened(file);
    ASSERT_EQ(menu->actions().size(), 2);
    menu->actions()[1]->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(menu->actions().size(), 1);
    EXPECT_FALSE(form.hasElement("mnuP1", 1));
}

TEST_F(HostTest, TheMainWindowDesignRendersEveryControl) {
    declareMainLayout(form);
    render();
    int views = 0;
    for (Control* c : form.controls()) views += window().viewOf(c) != nullptr;
    EXPECT_EQ(views, static_cast<int>(form.controls().size()));
    QWidget* ram = window().viewOf(&form.get<Frame>("fmRAM"))->widget();
    QWidget* auto_ = window().viewOf(&form.get<Frame>("fmAutomatic"))->widget();
    EXPECT_TRUE(ram->isVisible());
    EXPECT_FALSE(auto_->isVisible());
    auto* interval = widgetOf<QComboBox>(form.get<ComboBox>("cmbUpdateGraph"));
    ASSERT_NE(interval, nullptr);
    EXPECT_EQ(interval->count(), 8);
    form.get<Frame>("fmAutomatic").setVisible(true);
    EXPECT_TRUE(auto_->isVisible());
}

TEST(MessageBoxMapping, StylesGiveTheClassicButtonsIconsAndAnswers) {
    EXPECT_EQ(qt::messageButtons(vbOKOnly), QMessageBox::Ok);
    EXPECT_EQ(qt::messageButtons(vbYesNo | vbQuestion), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(qt::messageButtons(3), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(qt::messageIcon(vbCritical), QMessageBox::Critical);
    EXPECT_EQ(qt::messageIcon(vbQuestion | vbYesNo), QMessageBox::Question);
    EXPECT_EQ(qt::messageIcon(vbExclamation), QMessageBox::Warning);
    EXPECT_EQ(qt::messageIcon(vbInformation), QMessageBox::Information);
    EXPECT_EQ(qt::defaultButton(vbYesNo + 256), QMessageBox::No);
    EXPECT_EQ(qt::classicAnswer(QMessageBox::Yes), vbYes);
    EXPECT_EQ(qt::classicAnswer(QMessageBox::No), vbNo);
    EXPECT_EQ(qt::classicAnswer(QMessageBox::Ok), vbOK);
}

TEST(OpenDialogFilter, WindowsProgramPatternsMeanLinuxExecutables) {
    const auto filters = qt::parseFileFilter("EXE Files (*.exe)|*.exe|Text (*.txt)|*.txt;*.log");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_TRUE(filters[0].executables);
    EXPECT_EQ(filters[0].patterns, QStringList{"*"});
    EXPECT_FALSE(filters[1].executables);
    EXPECT_EQ(filters[1].patterns, (QStringList{"*.txt", "*.log"}));

    QTemporaryDir dir;
    const QString program = dir.filePath("my tool");
    const QString text = dir.filePath("notes.txt");
    for (const QString& path : {program, text}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile(program).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(qt::acceptsFile(filters[0], program));
    EXPECT_FALSE(qt::acceptsFile(filters[0], text));
    EXPECT_FALSE(qt::acceptsFile(filters[0], dir.path()));  // a folder is no program
    EXPECT_TRUE(qt::acceptsFile(filters[1], text));
}

TEST(SingleInstance, ASecondStartFindsTheFirstAndHasItShowItsWindow) {
    QTemporaryDir dir;
    qt::QtInstance first(dir.path().toStdString());
    int activations = 0;
    first.onActivate = [&] { ++activations; };
    EXPECT_FALSE(first.previousInstanceRunning());
    EXPECT_TRUE(first.listening());

    qt::QtInstance second(dir.path().toStdString());
    EXPECT_TRUE(second.previousInstanceRunning());
    bool answered = false, done = false;
    std::thread client([&] {
        answered = second.activatePreviousInstance();
        done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done, 5000);  // the first copy answers from its event loop
    client.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(activations, 1);
}

// The running copy takes requests of its own user only, reads a bounded line, and hands the
// rest to the program, whose answer (a release's, when its cycle ends) comes back.
TEST(SingleInstance, RequestsOfTheSameUserAreAnsweredOthersRefusedUnread) {
    QTemporaryDir dir;
    qt::QtInstance running(dir.path().toStdString());
    std::vector<std::string> requests, refusals;
    std::function<void(const std::string&)> pending;
    running.onRequest = [&](const std::string& request, InstancePort::Reply reply) {
        requests.push_back(request);
        pending = reply;
    };
    running.onRefused = [&](const std::string& why) { refusals.push_back(why); };
    ASSERT_FALSE(running.previousInstanceRunning());

    // Asked from a process of its own, as a later start asks; its answer comes later.
    auto askFromChild = [&](const std::string& request, bool asNobody) {
        const pid_t child = ::fork();
        if (child == 0) {
            if (asNobody && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
            qt::QtInstance later(dir.path().toStdString());
            const auto reply = later.askPreviousInstance(request, 3000);
            ::_exit(reply == std::optional<std::string>("released 5 MB") ? 0 : reply ? 1 : 2);
        }
        return child;
    };
    // The running copy answers from its event loop while the child waits.
    auto finished = [](pid_t child) {
        int status = -1;
        QElapsedTimer waited;
        waited.start();
        while (::waitpid(child, &status, WNOHANG) != child && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };

    const pid_t same = askFromChild("release 5", false);
    QTRY_COMPARE_WITH_TIMEOUT(requests.size(), size_t{1}, 5000);
    EXPECT_EQ(requests[0], "release 5");
    pending("released 5 MB");
    EXPECT_EQ(finished(same), 0) << "the answer reached the asking start";

    EXPECT_EQ(finished(askFromChild(std::string(200, 'x'), false)), 2) << "a request too long gets no answer";
    EXPECT_EQ(refusals, std::vector<std::string>{"a request too long"});

    if (::geteuid() == 0) {
        ::chmod(dir.path().toLocal8Bit().constData(), 0755);
        for (const QString& name : QDir(dir.path()).entryList(QDir::System | QDir::Files)) {
            ::chmod(QDir(dir.path()).filePath(name).toLocal8Bit().constData(), 0666);  // let nobody reach the socket
        }
        EXPECT_EQ(finished(askFromChild("release 5", true)), 2);
        EXPECT_EQ(refusals.back(), "another user's request");
    }
    EXPECT_EQ(requests.size(), 1u) << "nothing else reached the program";
}

// A command line looks without taking the lock, so a window started meanwhile is the copy.
TEST(SingleInstance, ALookAtTheLockTakesItNot) {
    QTemporaryDir dir;
    qt::QtInstance looker(dir.path().toStdString());
    EXPECT_FALSE(looker.instanceRunning()) << "no lock file yet, and none made";
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("quillmere.lock")));
    {
        qt::QtInstance running(dir.path().toStdString());
        ASSERT_FALSE(running.previousInstanceRunning());
        EXPECT_TRUE(looker.instanceRunning());
    }
    EXPECT_FALSE(looker.instanceRunning());
    qt::QtInstance window(dir.path().toStdString());
    EXPECT_FALSE(window.previousInstanceRunning()) << "the look left the lock free";
    EXPECT_TRUE(window.listening());
}

TEST(SingleInstance, TheLockIsFreeAgainOnceTheFirstCopyHasGone) {
    QTemporaryDir dir;
    {
        qt::QtInstance first(dir.path().toStdString());
        EXPECT_FALSE(first.previousInstanceRunning());
    }
    qt::QtInstance next(dir.path().toStdString());
    EXPECT_FALSE(next.previousInstanceRunning());
    qt::QtInstance nobodyThere(QDir(dir.path()).filePath("empty").toStdString());
    QDir(dir.path()).mkdir("empty");
    EXPECT_FALSE(nobodyThere.activatePreviousInstance());
}

TEST(SingleInstance, AStartWaitingForTheRunningCopyToEndTakesOverFromIt) {
    QTemporaryDir dir;
    auto running = std::make_unique<qt::QtInstance>(dir.path().toStdString());
    EXPECT_FALSE(running->previousInstanceRunning());
    qt::QtInstance next(dir.path().toStdString());
    EXPECT_FALSE(next.previousInstanceEnded(50)) << "a copy that stays is still there after the wait";
    EXPECT_FALSE(next.listening());
    running.reset();
    EXPECT_TRUE(next.previousInstanceEnded(1000));
    EXPECT_TRUE(next.listening()) << "later starts find this one";
    EXPECT_FALSE(next.previousInstanceRunning());
    EXPECT_TRUE(qt::QtInstance(dir.path().toStdString()).previousInstanceRunning());
}

}  // namespace
}  // namespace qm::test

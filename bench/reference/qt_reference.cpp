// The yardstick of the Linux program: a bare Qt Widgets window as a newcomer would write
// it, with a tab strip, five lists of 1000 entries, a tray icon and a 1 s timer.
// "--hidden" keeps the window hidden (the tray icon alone), as a program started to the
// tray would be. "--read-figures" also reads /proc/stat and /proc/meminfo at every tick, as
// any program must that shows the processor load and the memory: the least a memory
// monitor's tick can cost on this toolkit (the files are read, not even parsed).
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>

namespace {

QStringList amounts() {
    QStringList entries;
    for (int i = 1; i <= 1000; ++i) entries << QString("%1 MB").arg(2 * i);
    return entries;
}

QWidget* listPage() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    const QStringList entries = amounts();
    for (int i = 0; i < 5; ++i) {
        auto* list = new QListWidget;
        list->addItems(entries);
        row->addWidget(list);
    }
    return page;
}

// Kept open and read from the start each time, as a careful monitor would.
void readTheFigures() {
    static const int stat = open("/proc/stat", O_RDONLY | O_CLOEXEC);
    static const int meminfo = open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
    char text[4096];
    for (int file : {stat, meminfo}) {
        if (pread(file, text, sizeof text, 0) < 0) text[0] = 0;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QWidget window;
    window.setWindowTitle("Qt reference");
    window.resize(551, 446);
    auto* tabs = new QTabWidget(&window);
    tabs->addTab(listPage(), "Lists");
    for (const char* name : {"Automatic", "Time Intervals", "Launcher", "History Graphs", "Startup/Other", "About"}) {
        tabs->addTab(new QWidget, name);
    }
    (new QHBoxLayout(&window))->addWidget(tabs);

    QPixmap dot(32, 32);
    dot.fill(Qt::darkGreen);
    QSystemTrayIcon tray{QIcon(dot)};
    tray.setToolTip("Qt reference");
    tray.show();

    int ticks = 0;
    const bool readFigures = QCoreApplication::arguments().contains("--read-figures");
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &window, [&] {
        if (readFigures) readTheFigures();
        window.setWindowTitle(QString("Qt reference %1").arg(++ticks));
    });
    timer.start(1000);

    if (!QCoreApplication::arguments().contains("--hidden")) window.show();
    return app.exec();
}

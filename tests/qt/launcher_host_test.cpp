// The program-list editor on Qt: its design renders with the main window as owner, the
// modal run ends when a button hides it, the window goes once the host lets the form go,
// and the busy pointer shows over a list.
#include <QFileSystemModel>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>

#include "launcher/launcher_layout.h"
#include "qt_fixture.h"
#include "ui/qt/application_names.h"
#include "ui/qt/dialogs.h"

namespace qm::test {
namespace {

using LauncherHostTest = QtFormTest;

TEST_F(LauncherHostTest, TheEditorRendersModallyAndItsWindowGoesWhenDetached) {
    render();
    auto editor = std::make_unique<Form>("frmLauncher");
    declareLauncherLayout(*editor);
    editor->get<CommandButton>("cmdCancel").onClick = [&] { editor->hide(); };
    QString caption, cancelText;
    int buttons = 0;
    QTimer::singleShot(50, [&] {
        qt::FormWindow* window = host.windowOf(*editor);
        caption = window->windowTitle();
        buttons = static_cast<int>(window->findChildren<QPushButton*>().size());
        auto* cancel = qobject_cast<QPushButton*>(window->viewOf(&editor->get<CommandButton>("cmdCancel"))->widget());
        cancelText = cancel->text();
        cancel->click();
    });
    host.showModal(*editor, form);
    EXPECT_EQ(caption, "Configure Launcher Programs");
    EXPECT_EQ(buttons, 5);
    EXPECT_EQ(cancelText, "&Cancel");
    host.detach(*editor);
    EXPECT_EQ(host.windowOf(*editor), nullptr);
    editor.reset();  // the form may go now: nothing of the host observes it
    QApplication::processEvents();
}

TEST_F(LauncherHostTest, TheBusyPointerShowsOverTheListAndGoesAgain) {
    ListBox& list = place<ListBox>("lstLauncher", 120, 120, 3000, 2000);
    render();
    auto* widget = widgetOf<QListView>(list);
    ASSERT_NE(widget, nullptr);
    host.setBusyPointer(list, true);
    EXPECT_EQ(widget->cursor().shape(), Qt::WaitCursor);
    host.setBusyPointer(list, false);
    EXPECT_EQ(widget->cursor().shape(), Qt::ArrowCursor);
}

TEST(ApplicationEntries, TheirFoldersAndTheirNamesInTheFileList) {
    QTemporaryDir home, system;
    QDir(home.path()).mkpath("applications");
    QDir(system.path()).mkpath("applications");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_DIRS", (system.path() + ":/nonexistent:" + system.path()).toUtf8());
    EXPECT_EQ(qt::applicationFolders(), (QStringList{home.path() + "/applications", system.path() + "/applications"}));
    EXPECT_EQ(qt::applicationsFilter().patterns, QStringList{"*.desktop"});

    const QString folder = home.path() + "/applications";
    std::ofstream((folder + "/editor.desktop").toStdString()) << "[Desktop Entry]\nType=Application\nName=Text Editor\nExec=ed\n";
    std::ofstream((folder + "/link.desktop").toStdString()) << "[Desktop Entry]\nType=Link\nName=Site\n";
    QStandardItemModel files;
    for (const char* name : {"editor.desktop", "link.desktop"}) {
        auto* item = new QStandardItem(name);
        item->setData(folder + "/" + name, QFileSystemModel::FilePathRole);
        files.appendRow(item);
    }
    qt::ApplicationNames names;
    names.setSourceModel(&files);
    auto shown = [&](int row) { return names.data(names.index(row, 0), Qt::DisplayRole).toString(); };
    EXPECT_EQ(shown(0), "Text Editor");
    EXPECT_EQ(shown(1), "link.desktop") << "only applications are named";
}

}  // namespace
}  // namespace qm::test

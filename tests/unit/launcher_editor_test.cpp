// The program-list editor: its copy of the list, adding with the limit and the duplicate
// test, removing, running, saving to Launcher.mbl and cancelling.
#include "launcher/launcher_layout.h"
#include "launcher_fixture.h"

namespace qm::test {
namespace {

constexpr const char* kListFull =
    "There are already 30 programs in the list.Please remove some before adding new program.";

struct Editor : LauncherApp {
    void SetUp() override {
        storeList({entry("notepad", "C:\\Windows\\notepad.exe"), entry("Edit", "C:\\Tools\\Edit.exe")});
        app.load();
    }
    // Fills the editor's copy up to `count` entries.
    static void fillTo(Form& f, int count) {
        for (int i = programs(f).listCount(); i < count; ++i) programs(f).addItem(entry("p", "C:\\p" + std::to_string(i)));
    }
};

TEST_F(Editor, OpensModallyOnAFreshCopyAndCancelLeavesListMenuAndFile) {
    const std::string before = app.fakes.files.files[mbl()];
    std::vector<std::string> copy;
    edit([&](Form& f) {
        EXPECT_EQ(f.name(), "frmLauncher");
        EXPECT_EQ(f.caption(), "Configure Launcher Programs");
        EXPECT_TRUE(f.visible());
        copy = programs(f).items();
        programs(f).setListIndex(0);
        click(f, "cmdRemove");
        programs(f).setListIndex(0);
        click(f, "cmdRemove");
        EXPECT_EQ(programs(f).listCount(), 0);
        click(f, "cmdCancel");
        EXPECT_FALSE(f.visible());
    });
    EXPECT_EQ(copy, lstLauncher().items());
    EXPECT_EQ(lstLauncher().listCount(), 2);
    EXPECT_EQ(item(1).caption(), "Edit");
    EXPECT_EQ(app.fakes.files.files[mbl()], before);
    EXPECT_EQ(app.host.modalForms, (std::vector<std::string>{"frmLauncher"}));
    EXPECT_EQ(app.host.detached, (std::vector<std::string>{"frmLauncher"})) << "its window goes with it";

    edit([&](Form& f) { EXPECT_EQ(programs(f).listCount(), 2) << "every opening starts afresh"; });
    EXPECT_TRUE(app.log.entries.empty());
}

TEST_F(Editor, ThirtyEntriesRefuseAnotherWithoutADialogAndTwentyNineTakeTheThirtieth) {
    edit([&](Form& f) {
        fillTo(f, 30);
        click(f, "cmdAdd");
        EXPECT_EQ(prompts(), (std::vector<std::string>{kListFull}));
        EXPECT_EQ(app.host.messages.back().style, vbOKOnly | vbInformation);
        EXPECT_EQ(app.host.messages.back().title, "Quillmere");
        EXPECT_TRUE(app.host.dialogs.empty());

        programs(f).removeItem(29);
        app.host.dialogAnswers.push_back("C:\\Games\\chess.exe");
        click(f, "cmdAdd");
        ASSERT_EQ(app.host.dialogs.size(), 1u);
        EXPECT_EQ(app.host.dialogs[0].filter, "EXE Files (*.exe)|*.exe");
        EXPECT_EQ(app.host.dialogs[0].flags, 4096);
        EXPECT_EQ(programs(f).listCount(), 30);
        EXPECT_EQ(programs(f).list(29), entry("chess", "C:\\Games\\chess.exe"));
    });
}

TEST_F(Editor, APathAlreadyListedInAnyCaseSelectsItsEntryAndAddsNothing) {
    edit([&](Form& f) {
        app.host.dialogAnswers.push_back("c:\\tools\\EDIT.EXE");
        click(f, "cmdAdd");
        EXPECT_EQ(prompts(), (std::vector<std::string>{"It seems the program is already in the list."}));
        EXPECT_EQ(programs(f).listIndex(), 1);
        EXPECT_EQ(programs(f).listCount(), 2);
    });
}

TEST_F(Editor, DisplayNamesDropEveryExeAndDesktopEntriesGiveTheirName) {
    app.fakes.shell.applicationNames["/usr/share/applications/firefox.desktop"] = "Firefox|Web\nBrowser";
    edit([&](Form& f) {
        for (const char* chosen : {"C:\\x\\tool.exe.exe", "C:\\x\\Setup.EXE", "/usr/bin/gedit",
                                   "/usr/share/applications/firefox.desktop"}) {
            app.host.dialogAnswers.push_back(chosen);
            click(f, "cmdAdd");
        }
        click(f, "cmdAdd");  // the dialog is cancelled: nothing happens
        EXPECT_EQ(programs(f).list(2), entry("tool", "C:\\x\\tool.exe.exe"));
        EXPECT_EQ(programs(f).list(3), entry("Setup", "C:\\x\\Setup.EXE"));
        EXPECT_EQ(programs(f).list(4), entry("gedit", "/usr/bin/gedit"));
        EXPECT_EQ(programs(f).list(5), entry("Firefox Web Browser", "/usr/share/applications/firefox.desktop"))
            << "no bar or line end of a name can split the entry";
        EXPECT_EQ(programs(f).listCount(), 6);
    });
    EXPECT_TRUE(app.host.messages.empty());
    EXPECT_TRUE(app.log.entries.empty());
}

TEST_F(Editor, SaveWritesTheFileReplacesTheListAndRebuildsTheMenu) {
    edit([&](Form& f) {
        programs(f).setListIndex(0);
        click(f, "cmdRemove");
        app.host.dialogAnswers.push_back("C:\\Program Files\\Paint\\paint.exe");
        click(f, "cmdAdd");
        click(f, "cmdSave");
        EXPECT_FALSE(f.visible());
    });
    const std::vector<std::string> saved = {entry("Edit", "C:\\Tools\\Edit.exe"),
                                            entry("paint", "C:\\Program Files\\Paint\\paint.exe")};
    EXPECT_EQ(app.fakes.files.files[mbl()], saved[0] + "\r\n" + saved[1] + "\r\n");
    EXPECT_EQ(lstLauncher().items(), saved);
    EXPECT_EQ(app.frm().elementIndexes("mnuP1"), (std::vector<int>{0, 1}));
    EXPECT_EQ(item(1).caption(), "paint");
    EXPECT_TRUE(app.log.entries.empty());
}

TEST_F(Editor, SavingAnEmptyListWritesAnEmptyFileAndTheNextStartHasNoPrograms) {
    edit([&](Form& f) {
        programs(f).clear();
        click(f, "cmdSave");
    });
    ASSERT_TRUE(app.fakes.files.files.count(mbl()));
    EXPECT_EQ(app.fakes.files.files[mbl()], "");
    EXPECT_FALSE(app.get<Menu>("mnuPrograms").enabled());

    TestApp next;
    next.fakes.files.files[mbl()] = "";
    next.load();
    EXPECT_EQ(next.get<ListBox>("lstLauncher").listCount(), 0);
    EXPECT_FALSE(next.get<Menu>("mnuPrograms").enabled());
}

TEST_F(Editor, AFailedWriteKeepsTheOldFileButTheNewListHoldsAndIsLogged) {
    const std::string before = app.fakes.files.files[mbl()];
    app.fakes.files.unwritable.insert(mbl());
    edit([&](Form& f) {
        programs(f).removeItem(0);
        click(f, "cmdSave");
        EXPECT_FALSE(f.visible());
    });
    EXPECT_TRUE(app.log.has("frmLauncher,cmdSave_Click", 75));
    EXPECT_EQ(app.fakes.files.files[mbl()], before);
    EXPECT_EQ(lstLauncher().items(), (std::vector<std::string>{entry("Edit", "C:\\Tools\\Edit.exe")}));
    EXPECT_EQ(item(0).caption(), "Edit");
}

TEST_F(Editor, RunStartsTheSelectedPathAtOnceWithoutFreeingMemory) {
    edit([&](Form& f) {
        click(f, "cmdRun");  // nothing selected
        programs(f).setListIndex(1);
        click(f, "cmdRun");
        programs(f).setListIndex(0);
        programs(f).userDoubleClick();
        app.fakes.shell.failStart = true;
        click(f, "cmdRun");
    });
    EXPECT_EQ(app.fakes.shell.started, (std::vector<std::string>{"C:\\Tools\\Edit.exe", "C:\\Windows\\notepad.exe"}));
    EXPECT_TRUE(app.fakes.memory.events.empty());
    EXPECT_TRUE(app.log.has("frmLauncher,cmdRun_Click", errFileNotFound));
    EXPECT_TRUE(app.host.messages.empty());
}

TEST(LauncherEntries, FileTextAndEntryParts) {
    EXPECT_EQ(programListText({}), "");
    EXPECT_EQ(programListText({"a|x", ""}), "a|x\r\n\r\n");
    EXPECT_EQ(entryPath("Calc|C:\\calc.exe|x"), "C:\\calc.exe|x");
    EXPECT_EQ(entryPath("no bar"), std::nullopt);
    EXPECT_EQ(displayName("/opt/My Tools/run.EXE.sh"), "run.sh");
    EXPECT_EQ(displayName("notepad"), "notepad");
}

}  // namespace
}  // namespace qm::test

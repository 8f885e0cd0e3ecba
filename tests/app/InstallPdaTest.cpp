// File > "&Install PDA..." in the main window: the users and destinations offered, the
// install to each, and the messages.
#include "Conversion.h"
#include "EditInst.h"
#include "EditInstXfer.h"
#include "EditMain.h"
#include "MainWindowFixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace tomery::app {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::WriteFile;

/// A stand-in for pilot-link's pilot-xfer: notes its arguments and answers as pilot-xfer does,
/// or fails as it does (STANDIN_MODE=fail: exit code 0 and "failed."), or waits for a Cancel.
constexpr char kPilotXfer[] =
    "#!/bin/sh\n"
    "printf '%s\\n' \"$@\" > \"$STANDIN_LOG\"\n"
    "echo \"   Listening for incoming connection on $2... connected!\"\n"
    "case \"$STANDIN_MODE\" in\n"
    "  fail) echo \"   Installing '$4'... failed.\" >&2 ;;\n"
    "  wait) sleep 30; touch \"$STANDIN_LOG.late\" ;;\n"
    "  *) echo \"   Installing '$4'... (120 bytes, 0 KiB total)\" >&2 ;;\n"
    "esac\n"
    "echo \"   Thank you for using pilot-link.\"\n";

class InstallPda : public testing::MainWindowTest {
  protected:
    void SetUp() override {
        for (const char* name : {"HOME", "PATH", "WINEPREFIX", "JPILOT_HOME", "PILOTPORT"}) {
            const char* value = std::getenv(name);
            saved.emplace_back(name,
                               value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
        std::filesystem::create_directories(folder.Path("home"));
        std::filesystem::create_directories(folder.Path("bin"));
        ::setenv("HOME", folder.Path("home").c_str(), 1);
        ::setenv("PATH", (folder.Path("bin") + ":/usr/bin:/bin").c_str(), 1);
        ::setenv("WINEPREFIX", folder.Path("prefix").c_str(), 1);
        ::unsetenv("JPILOT_HOME");
        ::unsetenv("PILOTPORT");

        const std::string palm = folder.Path("Palm");
        std::filesystem::create_directories(palm + "/CyF");
        // Three users, Cy (ID 3) last and the last to synchronise.
        std::string users = std::string("\x03", 1) + std::string(12, '\0');
        users += std::string(
            "\x01\0\0\0\x03"
            "Ann\x04"
            "AnnF\0\x01\x80",
            16);
        users += std::string(
            "\x02\0\0\0\x03"
            "Bob\x04"
            "BobF\0\x01\x80",
            16);
        users += std::string(
            "\x03\0\0\0\x02"
            "Cy\x03"
            "CyF\0",
            12);
        WriteFile(palm + "/users.dat", users);
        registry = folder.Path("hotsync.reg");
        ::setenv("TOMERY_REGISTRY", registry.c_str(), 1);
        WriteRegistry("Cy");
        WriteFile(folder.Path("book.txt"), "Once upon a time.\r\n");
        ASSERT_TRUE(
            doc::ConvertTextToDoc(folder.Path("book.txt"), folder.Path("book.pdb"), "Book"));
        book = folder.Path("book.pdb");

        Create();
        OpenBook();
    }
    void TearDown() override {
        ::unsetenv("TOMERY_REGISTRY");
        ::unsetenv("STANDIN_MODE");
        ::unsetenv("STANDIN_LOG");
        for (const auto& [name, value] : saved) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

    void OpenBook() {
        ui->fileAnswers.push_back(book);
        form->Click("Open1");
    }
    void WriteRegistry(const std::string& lastUser) {
        WriteFile(
            registry,
            "REGEDIT4\n\n; the desktop software's settings\n"
            "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\Core]\n"
            "\"Path\"=\"" +
                folder.Path("Palm") +
                "\"\n"
                "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\Preferences]\n"
                "\"LastUserName\"=\"" +
                lastUser +
                "\"\n"
                "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\HotSync Manager]\n");
    }
    /// The dialog's entries, and the next showing answered with the entry `label`.
    QStringList Entries() const {
        QStringList entries;
        const QComboBox& list = form->InstallDialog().UserList();
        for (int i = 0; i < list.count(); ++i) {
            entries << list.itemText(i);
        }
        return entries;
    }
    void Choose(const QString& label) {
        ui->dialogAnswers.push_back([label](QDialog& dialog) {
            QComboBox& list = static_cast<TInstallDlg&>(dialog).UserList();
            list.setCurrentIndex(list.findText(label));
            return list.currentIndex() >= 0;
        });
    }
    /// Installs through the pilot-xfer stand-in, its progress dialog run for real.
    void InstallWithPilotXfer(const char* mode, std::function<void(TPilotXferDlg&)> during = {}) {
        WriteFile(folder.Path("bin/pilot-xfer"), kPilotXfer);
        std::filesystem::permissions(folder.Path("bin/pilot-xfer"),
                                     std::filesystem::perms::owner_all);
        ::setenv("STANDIN_MODE", mode, 1);
        ::setenv("STANDIN_LOG", folder.Path("pilot-xfer.log").c_str(), 1);
        Choose("Palm on usb: (pilot-xfer, now)");
        ui->dialogAnswers.push_back([during](QDialog& dialog) {
            if (during) {
                during(static_cast<TPilotXferDlg&>(dialog));
            }
            return dialog.exec() == QDialog::Accepted;
        });
        form->Click("InstallPDA1");
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    std::string registry;
    std::string book;
};

TEST_F(InstallPda, OffersTheUsersWithTheLastOneChosenAndInstallsForIt) {
    form->Click("InstallPDA1");
    ASSERT_EQ(ui->dialogs.size(), 1u);
    EXPECT_EQ(ui->dialogs[0], &form->InstallDialog());
    EXPECT_EQ(Entries(), QStringList({"Ann", "Bob", "Cy", "Copy to folder..."}));
    EXPECT_EQ(form->InstallDialog().UserList().currentText(), "Cy");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Information");
    EXPECT_EQ(ui->boxes[0].text, "book.pdb was placed in the install folder of Cy (" +
                                     folder.Path("Palm/CyF/Install") +
                                     ").\nAuto Install will occur during the next HotSync");
    EXPECT_EQ(ReadFile(folder.Path("Palm/CyF/Install/book.pdb")), ReadFile(book));
    const std::string written = ReadFile(registry);
    EXPECT_NE(written.find("; the desktop software's settings"), std::string::npos);
    EXPECT_NE(written.find("\"Install3\"=dword:00000001"), std::string::npos);
}

TEST_F(InstallPda, ReportsADamagedRegistryFileOnceAndLeavesItAlone) {
    WriteFile(registry, "REGEDIT4\nnot a registry line\n");
    ui->dialogAnswer = [](QDialog&) { return false; };
    form->Click("InstallPDA1");
    ASSERT_EQ(ui->boxes.size(), 2u);
    EXPECT_EQ(ui->boxes[0].caption, "Error");
    EXPECT_NE(ui->boxes[0].text.find(registry + " is damaged: line 2"), std::string::npos);
    EXPECT_EQ(ui->boxes[1].caption, "Pictavo");
    EXPECT_EQ(ui->boxes[1].text, "The PalmPilot Desktop software is not correctly installed.");
    EXPECT_EQ(Entries(), QStringList({"Copy to folder..."}));
    EXPECT_EQ(ReadFile(registry), "REGEDIT4\nnot a registry line\n");
}

TEST_F(InstallPda, ListsTheWineUsersAfterTheRegistryFilesAndFlagsInUserReg) {
    const std::string prefix = folder.Path("prefix");
    std::filesystem::create_directories(prefix + "/drive_c/Palm/DeeF");
    WriteFile(prefix + "/drive_c/Palm/users.dat", std::string("\x01", 1) + std::string(12, '\0') +
                                                      std::string("\x05\0\0\0\x03"
                                                                  "Dee\x04"
                                                                  "DeeF\0",
                                                                  14));
    const std::string userReg =
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
        "[Software\\\\Palm Computing\\\\Pilot Desktop\\\\Core] 1700000000\n"
        "#time=1da1b2c3d4e5f60\n\"Path\"=\"C:\\\\Palm\"\n\n"
        "[Software\\\\Palm Computing\\\\Pilot Desktop\\\\HotSync Manager] 1700000000\n"
        "#time=1da1b2c3d4e5f60\n\"Install1\"=dword:00000000\n";
    WriteFile(prefix + "/user.reg", userReg);
    Choose("Dee (Wine)");
    form->Click("InstallPDA1");
    EXPECT_EQ(Entries(), QStringList({"Ann", "Bob", "Cy", "Dee (Wine)", "Copy to folder..."}));
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].text, "book.pdb was placed in the install folder of Dee (" + prefix +
                                     "/drive_c/Palm/DeeF/Install).\n"
                                     "Auto Install will occur during the next HotSync");
    EXPECT_EQ(ReadFile(prefix + "/drive_c/Palm/DeeF/Install/book.pdb"), ReadFile(book));
    EXPECT_EQ(ReadFile(prefix + "/user.reg"), userReg + "\"Install5\"=dword:00000001\n");

    // With Wine installed its registry tool sets the flag, in the prefix of the user.reg read.
    WriteFile(prefix + "/user.reg", userReg);
    WriteFile(folder.Path("bin/wine"),
              "#!/bin/sh\necho \"$WINEPREFIX\" \"$@\" > " + folder.Path("wine.log") + "\n");
    std::filesystem::permissions(folder.Path("bin/wine"), std::filesystem::perms::owner_all);
    ui->boxes.clear();
    Choose("Dee (Wine)");
    form->Click("InstallPDA1");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Information");
    EXPECT_EQ(ReadFile(folder.Path("wine.log")),
              prefix +
                  " reg add HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot "
                  "Desktop\\HotSync Manager /v Install5 /t REG_DWORD /d 1 /f\n");
    EXPECT_EQ(ReadFile(prefix + "/user.reg"), userReg);
}

TEST_F(InstallPda, AddsToJPilotsListOnceAndPreselectsTheLastDestination) {
    WriteRegistry("Nobody");  // no HotSync user is the default
    const std::string list = folder.Path("home/.jpilot/jpilot.install");
    std::filesystem::create_directories(folder.Path("home/.jpilot"));
    WriteFile(list, "/home/ann/other.prc\n\x01/home/ann/card.pdb\n");
    for (const char* done : {"was added to", "is already on"}) {
        Choose("J-Pilot (next HotSync)");
        form->Click("InstallPDA1");
        ASSERT_EQ(ui->boxes.size(), 1u);
        EXPECT_EQ(ui->boxes[0].text, "book.pdb " + std::string(done) + " J-Pilot's install list (" +
                                         list + "); it goes to the handheld at the next HotSync.");
        ui->boxes.clear();
    }
    EXPECT_EQ(ReadFile(list), "/home/ann/other.prc\n\x01/home/ann/card.pdb\n" + book + "\n");

    Restart();
    OpenBook();
    ui->dialogAnswer = [](QDialog&) { return false; };
    form->Click("InstallPDA1");
    EXPECT_EQ(form->InstallDialog().UserList().currentText(), "J-Pilot (next HotSync)");
}

TEST_F(InstallPda, InstallsThroughPilotXferAndReportsWhatItSays) {
    InstallWithPilotXfer("ok");
    EXPECT_EQ(ReadFile(folder.Path("pilot-xfer.log")), "-p\nusb:\n-i\n" + book + "\n");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].text, "book.pdb was installed on the Palm on usb: by pilot-xfer.");

    ui->boxes.clear();
    InstallWithPilotXfer("fail");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Error");
    EXPECT_NE(
        ui->boxes[0].text.find("pilot-xfer could not install book.pdb on the Palm on usb:. "
                               "What it said:\n   Listening for incoming connection on usb:..."),
        std::string::npos)
        << ui->boxes[0].text;
    EXPECT_NE(ui->boxes[0].text.find("... failed."), std::string::npos) << ui->boxes[0].text;

    // Cancel ends the program: nothing is reported and it never gets to its end.
    ui->boxes.clear();
    InstallWithPilotXfer("wait", [](TPilotXferDlg& dialog) {
        QTimer::singleShot(300, &dialog, [&dialog] { dialog.CancelButton().click(); });
    });
    EXPECT_TRUE(ui->boxes.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.Path("pilot-xfer.log.late")));
}

TEST_F(InstallPda, CopiesIntoTheChosenFolderAndStartsThereTheNextTime) {
    const std::string card = folder.Path("card");
    std::filesystem::create_directories(card);
    Choose("Copy to folder...");
    ui->folderAnswers.push_back(card);
    form->Click("InstallPDA1");
    EXPECT_EQ(ReadFile(card + "/book.pdb"), ReadFile(book));
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].text, "book.pdb was copied to the folder " + card + ".");

    Restart();
    OpenBook();
    Choose("Copy to folder...");
    ui->folderAnswers.push_back(folder.Path("gone"));
    form->Click("InstallPDA1");
    EXPECT_EQ(ui->folderRequests, std::vector<std::string>{card});
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].text, "The folder " + folder.Path("gone") + " does not exist.");
}

}  // namespace
}  // namespace tomery::app

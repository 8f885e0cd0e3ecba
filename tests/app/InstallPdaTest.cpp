// File > "&Install PDA..." in the main window: the users offered, the install, the messages.
#include "Conversion.h"
#include "EditInst.h"
#include "EditMain.h"
#include "MainWindowFixture.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace tomery::app {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::WriteFile;

class InstallPda : public testing::MainWindowTest {
  protected:
    void SetUp() override {
        const std::string palm = folder.Path("Palm");
        std::filesystem::create_directories(palm + "/CyF");
        // Three users, Cy (ID 3) last and the last to synchronise.
        std::string users = std::string("\x03", 1) + std::string(12, '\0');
        users += std::string("\x01\0\0\0\x03" "Ann\x04" "AnnF\0\x01\x80", 16);
        users += std::string("\x02\0\0\0\x03" "Bob\x04" "BobF\0\x01\x80", 16);
        users += std::string("\x03\0\0\0\x02" "Cy\x03" "CyF\0", 12);
        WriteFile(palm + "/users.dat", users);
        registry = folder.Path("hotsync.reg");
        ::setenv("TOMERY_REGISTRY", registry.c_str(), 1);
        WriteFile(registry, "REGEDIT4\n\n; the desktop software's settings\n"
                            "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\Core]\n"
                            "\"Path\"=\"" + palm + "\"\n"
                            "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\Preferences]\n"
                            "\"LastUserName\"=\"Cy\"\n"
                            "[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\HotSync Manager]\n");
        WriteFile(folder.Path("book.txt"), "Once upon a time.\r\n");
        ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("book.txt"), folder.Path("book.pdb"), "Book"));

        Create();
        ui->fileAnswers.push_back(folder.Path("book.pdb"));
        form->Click("Open1");
    }
    void TearDown() override { ::unsetenv("TOMERY_REGISTRY"); }

    std::string registry;
};

TEST_F(InstallPda, OffersTheUsersWithTheLastOneChosenAndInstallsForIt) {
    form->Click("InstallPDA1");
    ASSERT_EQ(ui->dialogs.size(), 1u);
    EXPECT_EQ(ui->dialogs[0], &form->InstallDialog());
    const QComboBox& list = form->InstallDialog().UserList();
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.currentText(), "Cy");
    ASSERT_EQ(ui->boxes.size(), 1u);
    EXPECT_EQ(ui->boxes[0].caption, "Information");
    EXPECT_EQ(ui->boxes[0].text, "Auto Install will occur during the next HotSync");
    EXPECT_EQ(ReadFile(folder.Path("Palm/CyF/Install/book.pdb")), ReadFile(folder.Path("book.pdb")));
    const std::string written = ReadFile(registry);
    EXPECT_NE(written.find("; the desktop software's settings"), std::string::npos);
    EXPECT_NE(written.find("\"Install3\"=dword:00000001"), std::string::npos);
}

TEST_F(InstallPda, ReportsADamagedRegistryFileOnceAndLeavesItAlone) {
    WriteFile(registry, "REGEDIT4\nnot a registry line\n");
    form->Click("InstallPDA1");
    ASSERT_EQ(ui->boxes.size(), 2u);
    EXPECT_EQ(ui->boxes[0].caption, "Error");
    EXPECT_NE(ui->boxes[0].text.find(registry + " is damaged: line 2"), std::string::npos);
    EXPECT_EQ(ui->boxes[1].text, "The PalmPilot Desktop software is not correctly installed.");
    EXPECT_EQ(form->InstallDialog().UserList().count(), 0);
    EXPECT_EQ(ReadFile(registry), "REGEDIT4\nnot a registry line\n");
}

}  // namespace
}  // namespace tomery::app

// Help command lines mapped to the help pages in the Windows folder and handed to the browser.
#include "platform/qt/help_launcher.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include "files/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// Anchors open the page and the contents file opens its top; a command line naming no help
// page opens nothing.
TEST(HelpUrl, MapsHelpCommandLinesToThePageInTheWindowsFolder) {
    const DeviceFolders folders = DeviceFolders::UnderRoot("/home/ann/Quorvella data");
    const std::string page = "file:///home/ann/Quorvella%20data/Windows/enquorvella.htm";
    const std::pair<std::u16string, std::string> cases[] = {
        {u"file:enquorvella.htm#Timerecords", page + "#Timerecords"},
        {u"  file:enquorvella.htm# ", page},
        {u"file:\\Windows\\enquorvella.htm#Export", page + "#Export"},
        {u"file:enquorvella.htm#Caf\u00e9 au lait", page + "#Caf%C3%A9%20au%20lait"},
        {u"\\WINDOWS\\enquorvella.HTC", page},
    };
    for (const auto& [commandLine, url] : cases) EXPECT_EQ(HelpUrl(commandLine, folders), url);
    for (const char16_t* refused :
         {u"", u"file:#Timerecords", u"http://example.com/enquorvella.htm",
          u"\\Windows\\..\\..\\..\\etc\\passwd.htm", u"\\Program Files\\enquorvella.htm"}) {
        EXPECT_EQ(HelpUrl(refused, folders), std::nullopt);
    }
}

// Receives what the desktop would have opened.
class Browser : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

TEST(OpenHelp, HandsThePageToTheBrowserAndBringsBackARemovedPage) {
    test::TempDir root;
    const DeviceFolders folders = DeviceFolders::UnderRoot(root.path());
    fs::create_directories(folders.WindowsDir());
    Browser browser;
    QDesktopServices::setUrlHandler("file", &browser, "open");

    int restored = 0;
    const auto restore = [&] {
        ++restored;
        test::WriteBytes(folders.WindowsDir() / "enquorvella.htm", "<html>");
    };
    EXPECT_TRUE(OpenHelp(u"file:enquorvella.htm#Categories", folders, restore));
    EXPECT_TRUE(OpenHelp(u"file:enquorvella.htm", folders, restore));  // present now
    EXPECT_EQ(restored, 1);
    ASSERT_EQ(browser.opened.size(), 2);
    EXPECT_EQ(browser.opened[0].toLocalFile().toStdString(),
              (folders.WindowsDir() / "enquorvella.htm").string());
    EXPECT_EQ(browser.opened[0].fragment(), "Categories");

    EXPECT_FALSE(OpenHelp(u"file:notes.txt", folders, restore));
    EXPECT_EQ(browser.opened.size(), 2);
    QDesktopServices::unsetUrlHandler("file");
}

}  // namespace
}  // namespace qv

#include "help_launcher_test.moc"

// The screen settings: the faces offered (measured, since fontconfig calls no Korean face
// fixed-pitch), the `Screen` record written and read back, the lists of Hangul fonts and
// wallpapers with their recent lists, the dialog's controls, the preview, and the command that
// stores, applies and resizes the window.
#include <QComboBox>
#include <QFontDatabase>
#include <QSpinBox>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"
#include "app/gui/ScreenPreview.h"
#include "app/gui/ScreenSettingsDialog.h"
#include "app/gui/ScreenSettingsStore.h"
#include "auto/CRecordStore.h"
#include "auto/Folders.h"
#include "term/ScreenPainter.h"
#include "tests/app/gui/DialogTestSupport.h"

namespace {

namespace fs = std::filesystem;

void touch(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "x";
}

class ScreenDialogTest : public DialogTest {};

TEST_F(ScreenDialogTest, FaceListHoldsTheRasterFaceGulimAndMeasuredFixedPitchFaces) {
    const QStringList installed = QFontDatabase::families();
    for (const char* family : {"NanumGothicCoding", "NanumGothic", "Baekmuk Gulim"})
        ASSERT_TRUE(installed.contains(family)) << family << " (fonts-nanum, fonts-baekmuk)";
    const QStringList faces = TermFonts::FaceList();
    ASSERT_GE(faces.size(), 3);
    EXPECT_EQ(faces[0], "Fixedsys");
    EXPECT_EQ(faces[1], "굴림체");
    EXPECT_TRUE(faces.contains("NanumGothicCoding"));
    // Proportional Latin letters or Hangul narrower than two cells.
    for (const char* family : {"NanumGothic", "NanumMyeongjo", "NanumBarunGothic", "Baekmuk Gulim",
                               "Baekmuk Dotum", "Baekmuk Batang"})
        EXPECT_FALSE(faces.contains(family)) << family;
}

TEST_F(ScreenDialogTest, StoredRecordReadsBackAsTheSettings) {
    ScreenSettings s;
    s.winFont = "NanumGothicCoding";
    s.fontSize = 18;
    s.fontLeading = 3;
    s.rows = 40;
    s.variableRows = true;
    s.boldFont = true;
    s.hanFont16 = dir + "/글꼴/한글.hft";
    s.textColor = 14;
    s.bkColor = 0;
    s.sysColor = true;
    s.desktopBkGnd = true;
    s.wallPaper = dir + "/그림/바탕.bmp";
    EXPECT_EQ(ReadScreenSettings(WriteScreenSettings(s), ScreenSettings{}), s);

    ASSERT_TRUE(StoreScreenSettings(*registry, s));
    CRecordStore store(*registry);
    Record record;
    ASSERT_TRUE(store.SelectKind(RecordKind::Screen));
    store.ReadRecord(store.Section(), record);
    EXPECT_EQ(record["WallPaper"], cp(s.wallPaper));
    EXPECT_EQ(record["Rows"], "40");
    EXPECT_EQ(ReadScreenSettings(record, ScreenSettings{}), s);

    // The fonts and bitmaps chosen, newest first as "File1", "File2", ...
    s.hanFont16 = dir + "/second.hft";
    s.wallPaper.clear();
    ASSERT_TRUE(StoreScreenSettings(*registry, s));
    EXPECT_EQ(recentHangulFonts(*registry).load(),
              (std::vector<std::string>{cp(dir + "/second.hft"), cp(dir + "/글꼴/한글.hft")}));
    EXPECT_EQ(recentBitmaps(*registry).load(),
              std::vector<std::string>{cp(dir + "/그림/바탕.bmp")});
    auto key =
        registry->openPath(cp("HKEY_CURRENT_USER\\Software\\Vantra\\반트라 퀼론 98 Lite"
                              "\\RecentFont"));
    ASSERT_TRUE(key);
    EXPECT_EQ(registry->value(*key, "File1"), cp(dir + "/second.hft"));
}

TEST_F(ScreenDialogTest, ListsOfferRecentFilesFirstThenTheFolderInEitherCase) {
    setenv("QUILITE_DATA_DIR", (dir + "/share").c_str(), 1);
    touch(dir + "/share/Fonts/b.hft");
    touch(dir + "/share/Fonts/A.HFT");
    touch(dir + "/share/Fonts/notes.txt");
    touch(dir + "/mine/older.hft");
    touch(dir + "/mine/newer.Hft");
    recentHangulFonts(*registry).add(cp(dir + "/mine/older.hft"));
    recentHangulFonts(*registry).add(cp(dir + "/gone.hft"));  // no longer there
    recentHangulFonts(*registry).add(cp(dir + "/share/Fonts/b.hft"));
    recentHangulFonts(*registry).add(cp(dir + "/mine/newer.Hft"));
    EXPECT_EQ(HangulFontChoices(*registry),
              (std::vector<std::string>{dir + "/mine/newer.Hft", dir + "/share/Fonts/b.hft",
                                        dir + "/mine/older.hft", dir + "/share/Fonts/A.HFT"}));
    unsetenv("QUILITE_DATA_DIR");

    ASSERT_TRUE(SetFolder(*registry, FolderKind::Picture, dir + "/배경"));
    touch(dir + "/배경/하나.bmp");
    touch(dir + "/배경/TWO.BMP");
    touch(dir + "/배경/three.png");
    EXPECT_EQ(BitmapChoices(*registry),
              (std::vector<std::string>{dir + "/배경/TWO.BMP", dir + "/배경/하나.bmp"}));
}

TEST_F(ScreenDialogTest, ControlsShowTheSettingsAndGiveThemBack) {
    ScreenSettings s;
    s.winFont = "굴림체";
    s.fontSize = 14;
    s.fontLeading = 0;
    s.rows = 30;
    s.textColor = 10;
    s.bkColor = 4;
    s.variableRows = true;
    ScreenSettingsDialog dialog(*registry, prompt, s);
    EXPECT_EQ(dialog.windowTitle(), "화면 설정");
    EXPECT_EQ(dialog.Settings(), s);

    auto* size = control<QComboBox>(dialog, "size");
    ASSERT_EQ(size->count(), 9);
    EXPECT_EQ(size->itemText(0), "10 픽셀");
    EXPECT_EQ(size->itemText(8), "26 픽셀");
    EXPECT_EQ(size->currentText(), "14 픽셀");
    auto* leading = control<QComboBox>(dialog, "leading");
    ASSERT_EQ(leading->count(), 10);
    EXPECT_EQ(leading->itemText(9), "9 픽셀");
    EXPECT_EQ(control<QWidget>(dialog, "variableRows")->toolTip(),
              "창 높이가 변하면 줄 수를 조정합니다");
    EXPECT_EQ(control<QWidget>(dialog, "sysColor")->toolTip(),
              "짙은 파랑과, 회색, 은색을 시스템 색상으로 매핑합니다");
    EXPECT_EQ(control<QComboBox>(dialog, "textColor")->count(), 16);

    // The Hangul bitmap font only goes with the raster face.
    auto* hanFont = control<QComboBox>(dialog, "hanFont");
    EXPECT_EQ(hanFont->itemText(0), "(없음)");
    EXPECT_FALSE(hanFont->isEnabled());
    control<QComboBox>(dialog, "face")->setCurrentText("Fixedsys");
    EXPECT_TRUE(hanFont->isEnabled());

    // A picked file goes first in its list and is chosen.
    ASSERT_TRUE(dialog.ChooseBitmap(QString::fromStdString(dir + "/새 그림.bmp")));
    auto* wallPaper = control<QComboBox>(dialog, "wallPaper");
    EXPECT_EQ(wallPaper->itemText(1), "새 그림.bmp");
    EXPECT_EQ(dialog.Settings().wallPaper, dir + "/새 그림.bmp");
    // A name the store cannot keep is refused and the user told.
    EXPECT_FALSE(dialog.ChooseHangulFont(QString::fromStdString(dir + "/\u266B.hft")));
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(dialog.Settings().hanFont16, "");
}

TEST_F(ScreenDialogTest, StoredFaceNotListedShowsAsTheRasterFaceAtSixteenElseGulim) {
    const QStringList faces{"Fixedsys", "굴림체", "NanumGothicCoding"};
    EXPECT_EQ(ScreenSettingsDialog::ShownFace(faces, "NanumGothicCoding", 16), "NanumGothicCoding");
    EXPECT_EQ(ScreenSettingsDialog::ShownFace(faces, "돋움체", 16), "Fixedsys");
    EXPECT_EQ(ScreenSettingsDialog::ShownFace(faces, "돋움체", 12), "굴림체");
}

// The colour that covers most of a cell.
QRgb cellColour(const QImage& image, int column, int row, const TermFonts& fonts) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < fonts.LineHeight(); ++y)
        for (int x = 0; x < fonts.CellWidth(); ++x)
            ++counts[image.pixel(column * fonts.CellWidth() + x, row * fonts.LineHeight() + y)];
    return std::max_element(counts.begin(), counts.end(),
                            [](auto& a, auto& b) { return a.second < b.second; })
        ->first;
}

TEST_F(ScreenDialogTest, PreviewDrawsTheSampleInTheChosenAndSwappedColours) {
    ScreenSettings s;
    s.winFont = "NanumGothicCoding";
    s.fontSize = 16;
    s.textColor = 14;
    s.bkColor = 0;
    TermFonts fonts;
    const QImage image = PaintScreenPreview(s, fonts, 24);
    const TermPalette palette = MakePalette(false, {});
    EXPECT_EQ(image.width(), 24 * fonts.CellWidth());
    EXPECT_EQ(image.height(), 6 * fonts.LineHeight());
    EXPECT_EQ(cellColour(image, 0, 0, fonts), palette[0]);
    EXPECT_EQ(cellColour(image, 1, 0, fonts), palette[14]);  // "반트라기술 (VANTRA)" swapped
    EXPECT_EQ(cellColour(image, 5, 1, fonts), palette[0]);
    EXPECT_EQ(cellColour(image, 6, 5, fonts), palette[14]);  // the block after "선택> "
    EXPECT_EQ(cellColour(image, 7, 5, fonts), palette[0]);
    int textPixels = 0;  // "1. 반트라 퀼론 98" in the text colour (yellow, antialiased)
    for (int y = 2 * fonts.LineHeight(); y < 3 * fonts.LineHeight(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            textPixels += qRed(c) > 128 && qGreen(c) > 128 && qBlue(c) < 64;
        }
    }
    EXPECT_GT(textPixels, 100);

    s.sysColor = true;  // the swapped pair becomes the caption's colours
    const QImage system = PaintScreenPreview(s, fonts, 24);
    EXPECT_EQ(cellColour(system, 1, 0, fonts), DesktopColors().activeCaption);
    EXPECT_EQ(cellColour(system, 6, 5, fonts), DesktopColors().activeCaption);
}

TEST_F(ScreenDialogTest, CommandStoresOnOkAppliesAndTheFrameTakesTheRows) {
    QtEventLoop loop;
    CMainFrame frame(*registry, loop, prompt);
    frame.show();
    whenShown<ScreenSettingsDialog>([](ScreenSettingsDialog& d) {
        control<QSpinBox>(d, "rows")->setValue(30);
        control<QComboBox>(d, "face")->setCurrentText("Fixedsys");
        d.accept();
    });
    ASSERT_TRUE(frame.RunCommand(Cmd::ScreenSettings));
    EXPECT_EQ(setting("Screen", "Rows"), "30");
    EXPECT_EQ(setting("Screen", "WinFont"), "Fixedsys");
    EXPECT_EQ(frame.View().Rows(), 30);
    QApplication::processEvents();
    EXPECT_EQ(frame.View().size(), frame.View().CellAreaSize());
    EXPECT_EQ(frame.View().CellAreaSize().height(), 30 * frame.View().Fonts().LineHeight());

    whenShown<ScreenSettingsDialog>([](ScreenSettingsDialog& d) {
        control<QSpinBox>(d, "rows")->setValue(40);
        d.reject();
    });
    ASSERT_TRUE(frame.RunCommand(Cmd::ScreenSettings));
    EXPECT_EQ(setting("Screen", "Rows"), "30");
    EXPECT_EQ(frame.View().Rows(), 30);
}

}  // namespace

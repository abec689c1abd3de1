// Videotex in the terminal window: the page painted centred at 1:1 on the button-shadow
// colour while the mode is on, keys to the page first, the page as the saved picture, and the
// text screen back when the host ends the page.
#include "tests/app/gui/ViewTestSupport.h"
#include "vtx/CVtx.h"
#include "vtx/VtxImage.h"

namespace {

const std::string ESC = "\x1b";
// Videotex start, a filled rectangle in colour 12 over the lower left, the field opened.
const std::string kPage = ESC + "%A\xbe\xf0\xa4\xc0\xc0\xc0\xb1\xd2\xc0\xc0\x9f";

}  // namespace

TEST_F(ViewTest, AVideotexPageIsPaintedAndTakesTheKeys) {
    receive("text" + kPage);
    ASSERT_TRUE(view().VideotexMode());
    CVtx* page = doc->VideotexPage();
    ASSERT_NE(page, nullptr);
    const VtxMirror& mirror = page->GetVtxBitmap();
    EXPECT_EQ(mirror.Height(), view().height());
    const QImage shown = view().grab().toImage();
    const int left = (view().width() - mirror.Width()) / 2;
    const QPoint inRect(left + mirror.Column(0.25), mirror.Row(0.25));
    EXPECT_EQ(shown.pixel(inRect), qRgb(252, 252, 0));
    if (left > 0) {
        EXPECT_EQ(shown.pixel(left / 2, 10), view().palette().color(QPalette::Dark).rgb());
    }
    const QImage pagePicture = VtxImage(mirror);
    EXPECT_EQ(view().ScreenPicture(), pagePicture);
    // The cursor, an underscore, inverts the bottom row of its cell in the window only.
    const CVtx::Cursor cursor = page->GetCursor();
    const int underscore = cursor.top + cursor.h - 1;
    for (int x = cursor.x; x < cursor.x + cursor.w; ++x) {
        const QRgb under = pagePicture.pixel(x, underscore);
        EXPECT_EQ(shown.pixel(left + x, underscore),
                  qRgb(255 - qRed(under), 255 - qGreen(under), 255 - qBlue(under)))
            << x;
        EXPECT_EQ(shown.pixel(left + x, underscore - 1), pagePicture.pixel(x, underscore - 1));
    }

    // Typed text goes to the field, F1 to the host, Ctrl keys elsewhere.
    key(Qt::Key_A, Qt::NoModifier, "a");
    key(Qt::Key_F1);
    EXPECT_EQ(page->KeyBuffer(), "a");
    EXPECT_EQ(sent(), ESC + "#9\r");
    key(Qt::Key_Return, Qt::NoModifier, "\r");
    const std::string fragment = sent();
    ASSERT_EQ(fragment.size(), 64u);
    EXPECT_EQ(fragment.substr(38, 2), "a ");

    // The host ends the page: the text screen and the terminal's keys are back.
    receive(ESC + "%@more");
    EXPECT_FALSE(view().VideotexMode());
    EXPECT_EQ(doc->VideotexPage(), nullptr);
    key(Qt::Key_F1);
    EXPECT_EQ(sent(), ESC + "[11~");
    EXPECT_NE(view().ScreenPicture(), pagePicture);
}

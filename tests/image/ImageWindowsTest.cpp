// The picture windows on the offscreen platform: a file shown whole and fitted, an inline
// picture placed by its start packet, the close question while a transfer runs, the pop-ups
// closed without asking, saving, and a picture receive's window at its cell.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "image/DibConvert.h"
#include "image/DibFile.h"
#include "image/gui/ImageHost.h"
#include "image/gui/ImageTemplates.h"
#include "image/gui/ScreenGrab.h"
#include "platform/ScriptedPrompt.h"
#include "tests/app/gui/GuiTestApp.h"
#include "tests/fixtures/DImageHost.h"
#include "tests/image/PictureFiles.h"

namespace {

class ImageWindows : public ::testing::Test {
protected:
    ImageWindows() { guiTestApp(); }
    void SetUp() override {
        terminalWidget = std::make_unique<QWidget>();
        terminalWidget->setGeometry(100, 50, 640, 400);
        SetImageHost({&prompt, terminalWidget.get()});
        picture = seededPhoto(80, 60, 4);
        HDIB dib = BitmapToDIB(picture, {});
        SaveDIB(dib, folder.path("photo.bmp"));
        DestroyDIB(dib);
    }
    void TearDown() override {
        DImageDocTemplate::DestroyPopup();
        ZImageDocTemplate::DestroyPopup();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    template <class Done>
    void waitFor(Done done) {
        for (int i = 0; i < 200 && !done(); ++i)
            QTest::qWait(5);
    }

    ScratchFolder folder;
    ScriptedPrompt prompt;
    std::unique_ptr<QWidget> terminalWidget;
    Surface picture;
};

TEST_F(ImageWindows, FileWindowFitsItsPicture) {
    CImageFrame* frame = ZFileDocTemplate::OpenDocument(folder.path("photo.bmp"));
    EXPECT_EQ(frame->objectName(), "ZFileFrame");
    waitFor([&] { return frame->View().Complete(); });
    EXPECT_EQ(frame->windowTitle(), "photo.bmp");
    EXPECT_EQ(frame->size(), QSize(80, 60));
    EXPECT_EQ(surfaceFromImage(frame->View().PictureImage()).pixels, picture.pixels);
    const QImage shown = frame->View().viewport()->grab().toImage();
    EXPECT_EQ(shown.pixel(10, 20), picture.at(10, 20));
    frame->close();
}

struct InlineHost {
    DImageHost host;
    VNImageHooks hooks{[this] { return host.readByte(); }, [this](int b) { host.writeByte(b); },
                       [](int) {}, [](const DImageDoc&) { return 0; }};
    explicit InlineHost(const std::string& picture) : host(picture, 12, 5, 500, {{}, {}, -1, 2}) {}
};

TEST_F(ImageWindows, InlinePictureIsPlacedAndAsksBeforeClosing) {
    const std::vector<uint8_t> bmp = readFileBytes(folder.path("photo.bmp"));
    InlineHost host(std::string(bmp.begin(), bmp.end()));
    auto doc = std::make_unique<DImageDoc>(host.hooks, Clock::steady(), true, folder.path());
    DImageDoc* picture = doc.get();
    CImageFrame* frame = DImageDocTemplate::OpenDocument(std::move(doc));
    EXPECT_EQ(frame->size(), QSize(CImageFrame::kStartWidth, CImageFrame::kStartHeight));
    picture->Pump();
    QApplication::processEvents();
    EXPECT_EQ(frame->pos(), terminalWidget->mapToGlobal(QPoint(0, 0)) + QPoint(96, 80));
    EXPECT_EQ(DImageDocTemplate::Frames().size(), 1u);

    prompt.expect(PromptAnswer::No);
    frame->close();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "전송을 취소하시겠습니다?");
    EXPECT_EQ(prompt.asked[0].caption, "화상 표시기");
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(host.host.cancelled());

    prompt.expect(PromptAnswer::Yes);
    frame->close();
    EXPECT_TRUE(host.host.cancelled());
    EXPECT_FALSE(frame->isVisible());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // before its host goes
}

TEST_F(ImageWindows, PopupsCloseWithoutAskingAndSaveCopiesTheFile) {
    const std::vector<uint8_t> bmp = readFileBytes(folder.path("photo.bmp"));
    InlineHost host(std::string(bmp.begin(), bmp.end()));
    auto doc = std::make_unique<DImageDoc>(host.hooks, Clock::steady(), true, folder.path());
    DImageDoc* picture = doc.get();
    CImageFrame* frame = DImageDocTemplate::OpenDocument(std::move(doc));
    picture->Pump();
    FileReply reply;
    reply.answer = FileAnswer::Accepted;
    reply.paths = {folder.path("kept.JPG")};
    prompt.expectFile(reply);
    frame->SavePicture();
    ASSERT_EQ(prompt.filesAsked.size(), 1u);
    EXPECT_EQ(prompt.filesAsked[0].caption, "화상 저장");
    EXPECT_EQ(prompt.filesAsked[0].defaultExtension, "JPG");
    EXPECT_EQ(prompt.filesAsked[0].filter, "JPG 파일|*.JPG|모든 파일|*.*|");
    EXPECT_EQ(readFileBytes(folder.path("kept.JPG")), readFileBytes(picture->FilePath()));
    EXPECT_EQ(frame->windowTitle(), "kept.JPG");

    DImageDocTemplate::DestroyPopup();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(host.host.cancelled());
    EXPECT_FALSE(frame->isVisible());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(ImageWindows, ReceivedPictureWindowOpensAtItsCell) {
    const int before = ZImageDocTemplate::Count();
    int cancels = 0;
    ZImageDocTemplate place(3, 2);
    CImageFrame* frame = place.OpenDocument(folder.path("photo.bmp"), [&] { ++cancels; });
    EXPECT_EQ(ZImageDocTemplate::Count(), before + 1);
    EXPECT_EQ(frame->objectName(), "ZImageFrame");
    EXPECT_EQ(frame->pos(), terminalWidget->mapToGlobal(QPoint(0, 0)) + QPoint(24, 34));
    frame->CloseWithoutQuestion();
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(PalEntriesOnDevice(), 0);
    EXPECT_EQ(GetSystemPalette().colors.size(), 256u);
    EXPECT_TRUE(CopyWindowToBitmap(terminalWidget.get(), 3).empty());
}

}  // namespace

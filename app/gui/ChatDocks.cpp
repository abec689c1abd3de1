#include "app/gui/ChatDocks.h"

#include <QInputDialog>

#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"
#include "link/CQuillonDoc.h"
#include "platform/TextCodec.h"

namespace {

QDockWidget* dock(CMainFrame& frame, const QString& title, QWidget& content,
                  Qt::DockWidgetArea area) {
    auto* widget = new QDockWidget(title, &frame);
    widget->setObjectName(title);
    widget->setWidget(&content);
    widget->setFeatures(QDockWidget::NoDockWidgetFeatures);
    widget->setTitleBarWidget(new QWidget(widget));
    frame.addDockWidget(area, widget);
    return widget;
}

}  // namespace

ChatDocks::ChatDocks(CMainFrame& frame, CQuillonDoc& doc)
    : frame_(frame),
      doc_(doc),
      windows_(doc.Chat(), doc.ChatSide(), frame.registry()),
      barDock_(dock(frame, "채팅창", windows_.InputBar(), Qt::BottomDockWidgetArea)),
      listDock_(dock(frame, "대화실", windows_.Participants(), Qt::RightDockWidgetArea)),
      shell_(frame, doc, windows_.InputBar()) {
    barDock_->hide();  // Alt+C shows it
    listDock_->hide();
    windows_.showStatus = [this](const std::string& text) { frame_.ShowStatus(text); };
    windows_.roomChanged = [this] { listDock_->setVisible(doc_.InChatRoom()); };
    windows_.InputBar().onEscape = [this] { frame_.View().ScrollToBottom(); };
    windows_.redrawIconPanel = [this] { frame_.RedrawIconPanel(); };
    ApplySymbolFont();
    frame.View().chatLineText = [this](const std::string& text) {
        if (!barDock_->isVisible()) return false;
        windows_.InputBar().PutText(text);
        return true;
    };
    doc.Chat().SetViews(&windows_);
    registerCommands();
}

// The session may be gone already (the program ends it before its window).
ChatDocks::~ChatDocks() {
    frame_.View().chatLineText = nullptr;
}

void ChatDocks::registerCommands() {
    frame_.SetCommand(Cmd::ChatBar, {[this] { barDock_->setVisible(!barDock_->isVisible()); },
                                     [this] { return barDock_->isVisible(); }});
    frame_.SetCommand(Cmd::ChatRoomMode, {[this] { doc_.Chat().ToggleChatRoomMode(); },
                                          [this] { return doc_.Chat().ChatRoomMode(); }});
    frame_.SetCommand(Cmd::ReceivedMemos, {[this] { windows_.ShowReceivedMemos(); }});
    frame_.SetCommand(Cmd::WriteMemo, {[this] { writeMemo(); }});
    frame_.SetCommand(Cmd::Participants,
                      {[this] { listDock_->setVisible(!listDock_->isVisible()); },
                       [this] { return listDock_->isVisible(); }});
    frame_.SetCommand(Cmd::DosMode,
                      {[this] { toggleDosMode(); }, [this] { return shell_.Hook().ShellOn(); }});
}

void ChatDocks::toggleDosMode() {
    shell_.Hook().ToggleShell();
    if (!shell_.Hook().ShellOn()) return;
    barDock_->show();
    windows_.InputBar().Field().setFocus();
}

// The ID asked for, offered as the sender of the last memo; then its "To:" window.
void ChatDocks::writeMemo() {
    bool ok = false;
    const QString id =
        QInputDialog::getText(&frame_, "쪽지 보내기", "아이디:", QLineEdit::Normal,
                              QString::fromStdString(cp949ToUtf8Lossy(windows_.LastSender())), &ok)
            .trimmed();
    if (!ok || id.isEmpty()) return;
    MemoWindow& memo = windows_.WriteTo(utf8ToCp949Lossy(id.toStdString()));
    memo.show();
    memo.raise();
    memo.activateWindow();
}

// The symbol font is the window face a line high; the raster face is ours alone, so its stand-in
// is the Korean face that stands for "굴림체".
void ChatDocks::ApplySymbolFont() {
    TermFonts& fonts = frame_.View().Fonts();
    QFont font(
        TermFonts::FamilyOf(fonts.IsRasterFace() ? TermFonts::kGulimFaceName : fonts.Face()));
    font.setPixelSize(fonts.LineHeight());
    windows_.InputBar().SetSymbolFont(font);
}

#include "app/gui/ChatDocks.h"

#include "app/CommandTable.h"
#include "app/gui/CMainFrame.h"
#include "link/CQuillonDoc.h"

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
      listDock_(dock(frame, "대화실", windows_.Participants(), Qt::RightDockWidgetArea)) {
    barDock_->hide();  // Alt+C shows it
    listDock_->hide();
    windows_.showStatus = [this](const std::string& text) { frame_.ShowStatus(text); };
    windows_.roomChanged = [this] { listDock_->setVisible(doc_.InChatRoom()); };
    windows_.InputBar().onEscape = [this] { frame_.View().ScrollToBottom(); };
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
}

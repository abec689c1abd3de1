#pragma once
// The icon panel's page "책갈피": one button per bookmark of the session's current service,
// with its icon and name; a click goes there.
#include <QWidget>

class CQuillonDoc;
class QVBoxLayout;

class BookmarkPanel : public QWidget {
public:
    explicit BookmarkPanel(QWidget* parent = nullptr);
    // Shows the session's bookmarks (none without a session).
    void Show(CQuillonDoc* doc);

private:
    QVBoxLayout* bookmarks_;
};

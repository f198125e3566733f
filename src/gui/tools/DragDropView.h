#pragma once

#include <QWidget>

class NotificationCenter;
class QMimeData;

// The tool window's drop area for images. Image data (any image/* type) is
// taken before file links, as a program offering both means the picture
// itself; links must be to local files. It posts "imageDropped" {"image":
// the picture's file contents, or a QImage another part of the program
// handed over} or "fileDropped" {"files": paths}. A drag it cannot take
// still lights the area up, so the user sees where it would go. Pasting
// (Ctrl+V) takes the clipboard the same way.
class DragDropView : public QWidget
{
    Q_OBJECT

public:
    explicit DragDropView(NotificationCenter& center, QWidget* parent = nullptr);

    bool highlight() const { return lit; }
    // Whether a drag carrying `data` could be dropped here.
    static bool acceptsData(const QMimeData* data);
    // Posts what `data` carries, as a drop does; false when it carries no
    // picture and no local file.
    bool takeData(const QMimeData* data);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setHighlight(bool on);

    NotificationCenter& center;
    bool lit = false;
    bool validFile = true;
};

#pragma once

#include <QColor>
#include <QWidget>

// One colour of a tool row, shown as a rounded swatch. Clicks go to the row.
class ToolWell : public QWidget
{
    Q_OBJECT

public:
    explicit ToolWell(QWidget* parent = nullptr);

    void setColor(const QColor& color);
    const QColor& color() const { return shown; }
    QSize sizeHint() const override { return {34, 34}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor shown;
};

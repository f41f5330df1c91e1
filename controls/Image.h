#pragma once

#include <QString>
#include <QWidget>

class QSvgRenderer;

// A picture shown centred at its design size, never stretched, rendered from
// an SVG so it stays crisp at any screen scale. Clicks are reported; a
// double-click is one Click (at its first release) and one DblClick.
// Assistive technology reads it as a graphic with its accessible name.
class TImage : public QWidget
{
    Q_OBJECT
public:
    explicit TImage(QWidget *parent = nullptr);

    // An SVG resource (":/artwork/x.svg"); the picture's design size is its
    // view box. The renderer is shared, not owned.
    void SetPicture(QSvgRenderer *picture);
    QSvgRenderer *Picture() const { return FPicture; }

signals:
    void Click();
    void DblClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QSvgRenderer *FPicture = nullptr;
    // Between a double-click and the release that ends it.
    bool FDoubleClicked = false;
};

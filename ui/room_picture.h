// The room picture: a white box with a thin border whose drawing is retained, so the plan
// stays on screen when the window is covered and uncovered until the program erases it.
#pragma once

#include "output/retained_drawing.h"

#include <QWidget>

class RoomPicture : public QWidget {
    Q_OBJECT
  public:
    explicit RoomPicture(QWidget* parent = nullptr);
    RetainedDrawing& Surface() { return m_drawing; }
    const RetainedDrawing& Surface() const { return m_drawing; }
    // The area inside the border, where the user coordinates run.
    QRectF InnerRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    RetainedDrawing m_drawing;
};

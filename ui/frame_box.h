// A captioned frame: a thin etched border with its title in blue bold at the top left, the
// look of every group of controls in the window. Children are placed by the frame's own
// top-left corner, caption area included.
#pragma once

#include <QWidget>

class FrameBox : public QWidget {
    Q_OBJECT
  public:
    explicit FrameBox(const QString& caption, QWidget* parent = nullptr);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString m_caption;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QImage>
#include <QWidget>
#include <functional>

class QPainter;

// The paint box of the graph. The graph is drawn into an image that stays
// between paints, so that during an acquisition only the new points are
// drawn (and the live crosses moved with not-xor strokes) instead of the
// whole graph at the timer rate; a paint event only copies the image unless a
// full redraw was asked for.
namespace kvx::ui {

class TOscillo : public QWidget {
  Q_OBJECT
 public:
  // Draws the whole graph into the image; the rectangle is the whole box.
  using Peintre = std::function<void(QPainter &, const QRect &cadre)>;

  explicit TOscillo(QWidget *parent = nullptr);

  void FixePeintre(Peintre peintre) { m_peintre = std::move(peintre); }
  // Asks for a full redraw at the next paint.
  void Invalide();
  bool invalide() const { return m_invalide; }
  // Runs `dessin` on the image now (bringing it up to date first) and shows
  // the result at the next paint.
  void DessineSur(const std::function<void(QPainter &)> &dessin);
  const QImage &image() const { return m_image; }
  // Redraws the image at once if a full redraw is pending.
  void MetAJour();

 signals:
  void souris(QEvent::Type type, QPoint pos, Qt::MouseButtons boutons);
  // The whole graph was just drawn again into the image.
  void redessine();

 protected:
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

 private:
  Peintre m_peintre;
  QImage m_image;
  bool m_invalide = true;
};

}  // namespace kvx::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/oscillo.h"

#include <QMouseEvent>
#include <QPainter>

namespace kvx::ui {

TOscillo::TOscillo(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Oscillo"));
  setMouseTracking(true);  // the threshold hint follows the pointer without a button
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TOscillo::Invalide() {
  m_invalide = true;
  update();
}

void TOscillo::MetAJour() {
  const qreal ratio = devicePixelRatioF();
  const QSize taille = size() * ratio;
  if (m_image.size() != taille) {
    // RGB32 keeps the raster engine's not-xor modes available for the crosses.
    m_image = QImage(taille.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    m_image.setDevicePixelRatio(ratio);
    m_invalide = true;
  }
  if (!m_invalide) return;
  m_invalide = false;
  QPainter p(&m_image);
  const QRect cadre(0, 0, width(), height());
  p.fillRect(cadre, palette().color(QPalette::Base));
  if (m_peintre) m_peintre(p, cadre);
  emit redessine();
}

void TOscillo::DessineSur(const std::function<void(QPainter &)> &dessin) {
  MetAJour();
  {
    QPainter p(&m_image);
    dessin(p);
  }
  update();
}

void TOscillo::paintEvent(QPaintEvent *event) {
  MetAJour();
  QPainter p(this);
  const QRect r = event->rect();
  p.drawImage(
      r, m_image,
      QRectF(r.topLeft() * m_image.devicePixelRatio(), r.size() * m_image.devicePixelRatio()));
}

void TOscillo::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  m_invalide = true;
}

void TOscillo::mousePressEvent(QMouseEvent *event) {
  emit souris(QEvent::MouseButtonPress, event->position().toPoint(), event->buttons());
}

void TOscillo::mouseMoveEvent(QMouseEvent *event) {
  emit souris(QEvent::MouseMove, event->position().toPoint(), event->buttons());
}

void TOscillo::mouseReleaseEvent(QMouseEvent *event) {
  emit souris(QEvent::MouseButtonRelease, event->position().toPoint(), event->buttons());
}

}  // namespace kvx::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/veltorstop.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/nomme.h"

namespace kvx::ui {

namespace {
constexpr int kSeconde = 1000;
// The count-down starts a little above the panel's seconds: the box starts
// counting once both start words have gone.
constexpr int kMarge = 2;
}  // namespace

TVeltorStopDlg::TVeltorStopDlg(QCheckBox *autoCB, QSpinBox *secondes, std::function<void()> arret,
                               QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint),
      m_autoCB(autoCB),
      m_secondes(secondes),
      m_arret(std::move(arret)) {
  setObjectName(QStringLiteral("VeltorStopDlg"));
  setWindowTitle(QStringLiteral("Acquisition en cours"));
  setModal(false);
  Label2 = Nomme(new QLabel(this), "Label2");
  Label2->setAlignment(Qt::AlignCenter);
  OKBtn = Nomme(new QPushButton(QStringLiteral("Arrêt de l'acquisition avec la fourche"), this),
                "OKBtn");
  OKBtn->setDefault(true);
  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setInterval(kSeconde);
  auto *l = new QVBoxLayout(this);
  l->addWidget(Label2);
  l->addWidget(OKBtn);
  l->setSizeConstraint(QLayout::SetFixedSize);
  connect(Timer, &QTimer::timeout, this, &TVeltorStopDlg::TimerTimer);
  connect(OKBtn, &QPushButton::clicked, this, &TVeltorStopDlg::OKBtnClick);
}

void TVeltorStopDlg::Montre() {
  show();
  raise();
  FormActivate();
}

void TVeltorStopDlg::FormActivate() {
  const bool automatique = m_autoCB->isChecked();
  Label2->setVisible(automatique);
  if (automatique)
    Timer->start();
  else
    Timer->stop();
  m_restant = m_secondes->value() + kMarge;
  if (automatique) TimerTimer();  // the text shows at once
}

void TVeltorStopDlg::TimerTimer() {
  --m_restant;
  if (m_restant <= 0) {
    OKBtnClick();
    return;
  }
  Label2->setText(QStringLiteral("Arrêt dans %1 seconde%2")
                      .arg(m_restant)
                      .arg(m_restant > 1 ? QStringLiteral("s") : QStringLiteral(" ")));
}

void TVeltorStopDlg::OKBtnClick() {
  Timer->stop();
  if (m_arret) m_arret();
  hide();
}

void TVeltorStopDlg::reject() {
  if (isVisible()) OKBtnClick();
}

void TVeltorStopDlg::Ferme() {
  Timer->stop();
  hide();
}

void TVeltorStopDlg::hideEvent(QHideEvent *event) {
  Timer->stop();
  QDialog::hideEvent(event);
}

}  // namespace kvx::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ebin.h"
#include "ui/nomme.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "model/entree_binaire.h"
#include "ui/dialogue_modal.h"

namespace kvx::ui {

TEntreeBinDlg::TEntreeBinDlg(model::TentreeBinaire &entree, QWidget *parent)
    : QDialog(parent), m_entree(entree) {
  setObjectName(QStringLiteral("EntreeBinDlg"));
  setWindowTitle(QStringLiteral("Entrées binaires"));
  NbreBinSE = Nomme(new QSpinBox(this), "NbreBinSE");
  NbreBinSE->setRange(kNbreBinMin, kNbreBinMax);
  Label1 = Nomme(new QLabel(QStringLiteral("Nombre d'entrées actives"), this), "Label1");
  Label1->setBuddy(NbreBinSE);
  Memo = Nomme(new QPlainTextEdit(this), "Memo");
  Memo->setReadOnly(true);
  Memo->setFocusPolicy(Qt::NoFocus);
  Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const QFontMetrics fm(Memo->font());
  Memo->setFixedSize(fm.horizontalAdvance(QStringLiteral("Lecture des entrées binaires EB0 à EB7")) + 24,
                     fm.lineSpacing() * 4 + 16);
  EcritMemo(kNbreBinMax);
  OKBtn = Nomme(new QPushButton(QStringLiteral("&Activer"), this), "OKBtn");
  OKBtn->setDefault(true);
  DesactiveBtn = Nomme(new QPushButton(QStringLiteral("&Désactiver"), this), "DesactiveBtn");
  DesactiveBtn->setAutoDefault(false);

  auto *nombre = new QHBoxLayout;
  nombre->addWidget(Label1);
  nombre->addWidget(NbreBinSE);
  nombre->addStretch(1);
  auto *boutons = new QHBoxLayout;
  boutons->addStretch(1);
  boutons->addWidget(OKBtn);
  boutons->addWidget(DesactiveBtn);
  auto *l = new QVBoxLayout(this);
  l->addLayout(nombre);
  l->addWidget(Memo);
  l->addLayout(boutons);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(NbreBinSE, qOverload<int>(&QSpinBox::valueChanged), this,
          &TEntreeBinDlg::NbreBinSEChange);
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    m_entree.Active = true;
    accept();
  });
  connect(DesactiveBtn, &QPushButton::clicked, this, [this] {
    m_entree.Active = false;
    accept();
  });
}

void TEntreeBinDlg::FormActivate() {
  {
    const QSignalBlocker b(NbreBinSE);
    NbreBinSE->setValue(m_entree.Nbre);
  }
  // The box has eight inputs: a count from a file beyond them is brought to
  // what the dialog shows, so that the word and the text agree.
  if (NbreBinSE->value() != m_entree.Nbre)
    m_entree.FixeNbreBits(static_cast<std::uint8_t>(NbreBinSE->value()));
  EcritMemo(NbreBinSE->value());
}

int TEntreeBinDlg::Execute() {
  FormActivate();
  return ExecuteModal(*this, QDialog::Rejected);
}

void TEntreeBinDlg::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    DesactiveBtn->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TEntreeBinDlg::NbreBinSEChange(int n) {
  m_entree.FixeNbreBits(static_cast<std::uint8_t>(n));
  EcritMemo(n);
}

void TEntreeBinDlg::EcritMemo(int n) {
  // The last line names the highest input actually read.
  const QStringList lignes = {QStringLiteral("Lecture des entrées binaires EB0 à EB7"),
                        QStringLiteral("et transformation en mot"),
                        QStringLiteral("bit de poids faible=EB0"),
                        QStringLiteral("bit de poids fort=EB%1").arg(n - 1)};
  Memo->setPlainText(lignes.join(QLatin1Char('\n')));
}

}  // namespace kvx::ui

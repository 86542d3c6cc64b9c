// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/apropos.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "device/box_link.h"
#include "model/version.h"
#include "ui/dialogue_modal.h"
#include "ui/nomme.h"

namespace kvx::ui {

namespace {

constexpr int kCoteIcone = 64;

QLabel *Texte(QWidget *parent, const char *nom, const QString &texte) {
  auto *l = Nomme(new QLabel(texte, parent), nom);
  l->setTextFormat(Qt::PlainText);
  return l;
}

}  // namespace

QIcon IconeKVX() {
  QIcon icone;
  for (int cote : {16, 22, 24, 32, 48, 64, 128, 256})
    icone.addFile(QStringLiteral(":/kvx/icons/kvx-%1.png").arg(cote), QSize(cote, cote));
  return icone;
}

TAboutBox::TAboutBox(const device::BoxLink &lien, QWidget *parent)
    : QDialog(parent),
      m_lien(lien),
      m_ouvre([](const QUrl &url) { return QDesktopServices::openUrl(url); }) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QString::fromUtf8(kTitreAPropos));
  ProgramIcon = Nomme(new QLabel(this), "ProgramIcon");
  ProgramIcon->setPixmap(IconeKVX().pixmap(kCoteIcone, kCoteIcone));
  ProgramIcon->setFixedSize(kCoteIcone, kCoteIcone);
  ProductName = Texte(this, "ProductName", QStringLiteral("Acquisition par Nuvex KVX"));
  QFont gras = ProductName->font();
  gras.setBold(true);
  if (gras.pixelSize() > 0)
    gras.setPixelSize(gras.pixelSize() * 5 / 4);
  else
    gras.setPointSizeF(gras.pointSizeF() * 1.25);
  ProductName->setFont(gras);
  Version = Texte(this, "Version", QStringLiteral("Version 2.19 20/05/2013"));
  VersionKVX =
      Texte(this, "VersionKVX", QStringLiteral("KVX %1").arg(QString::fromLatin1(model::kVersion)));
  Comments = Texte(this, "Comments", QStringLiteral("Pour Tabulyse Windows Unicode"));
  Label1 = Texte(this, "Label1", QString::fromUtf8(kAdresseContact));
  Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
  VoieSerieL = Texte(this, "VoieSerieL", QStringLiteral("COM"));
  OKButton = Nomme(new QPushButton(QStringLiteral("&OK"), this), "OKButton");
  OKButton->setDefault(true);
  BitBtn1 = Nomme(new QPushButton(style()->standardIcon(QStyle::SP_BrowserReload),
                                  QStringLiteral("Version à jour"), this),
                  "BitBtn1");
  BitBtn1->setAutoDefault(false);

  auto *versions = new QHBoxLayout;
  versions->addWidget(Version);
  versions->addSpacing(12);
  versions->addWidget(VersionKVX);
  versions->addStretch(1);
  auto *textes = new QVBoxLayout;
  textes->addWidget(ProductName);
  textes->addLayout(versions);
  textes->addWidget(Comments);
  textes->addSpacing(6);
  textes->addWidget(VoieSerieL);
  textes->addWidget(Label1);
  auto *haut = new QHBoxLayout;
  haut->addWidget(ProgramIcon, 0, Qt::AlignTop);
  haut->addSpacing(10);
  haut->addLayout(textes, 1);
  auto *boutons = new QHBoxLayout;
  boutons->addWidget(BitBtn1);
  boutons->addStretch(1);
  boutons->addWidget(OKButton);
  auto *l = new QVBoxLayout(this);
  l->addLayout(haut);
  l->addSpacing(8);
  l->addLayout(boutons);
  l->setSizeConstraint(QLayout::SetFixedSize);

  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(BitBtn1, &QPushButton::clicked, this, &TAboutBox::BitBtn1Click);
}

void TAboutBox::FormActivate() {
  VoieSerieL->setText(QStringLiteral("COM") +
                      QString::fromStdString(m_lien.PortText(m_lien.ComNumber())));
}

void TAboutBox::showEvent(QShowEvent *event) {
  FormActivate();
  QDialog::showEvent(event);
}

void TAboutBox::HelpAbout() {
  ExecuteModal(*this, QDialog::Rejected);
}

void TAboutBox::BitBtn1Click() {
  const QString adresse = QString::fromLatin1(kAdresseMiseAJour);
  if (m_ouvre(QUrl(adresse))) return;
  MontreMessage(this, QMessageBox::Warning, QString::fromUtf8(kTitreAPropos),
                QString::fromUtf8(kEchecAcces) + adresse);
}

}  // namespace kvx::ui

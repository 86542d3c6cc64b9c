// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menu_configuration.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <exception>

#include "exchange/configuration.h"
#include "exchange/configuration_cles.h"
#include "ui/dialogue_modal.h"
#include "ui/kvxmain.h"
#include "ui/session.h"

namespace kvx::ui {

namespace {

QString Choisit(QWidget *parent, const QString &dossier, QFileDialog::AcceptMode mode) {
  QFileDialog dialogue(parent, QString(), dossier, QString::fromLatin1(kFiltreConfiguration));
  dialogue.setAcceptMode(mode);
  dialogue.setDefaultSuffix(QString::fromLatin1(exchange::configuration::kExtension));
  dialogue.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
  // Qt's own dialog, not the desktop's: only that one a close can end.
  dialogue.setOption(QFileDialog::DontUseNativeDialog);
  if (ExecuteModal(dialogue, QDialog::Rejected) != QDialog::Accepted ||
      dialogue.selectedFiles().isEmpty())
    return QString();
  return dialogue.selectedFiles().constFirst();
}

}  // namespace

DialoguesConfiguration DialoguesConfiguration::Standard() {
  DialoguesConfiguration d;
  d.ouvrir = [](QWidget *parent, const QString &dossier) {
    return Choisit(parent, dossier, QFileDialog::AcceptOpen);
  };
  d.sauver = [](QWidget *parent, const QString &dossier) {
    return Choisit(parent, dossier, QFileDialog::AcceptSave);
  };
  d.echec = [](QWidget *parent, const QString &message) {
    MontreMessage(parent, QMessageBox::Warning, QStringLiteral("KVX"), message);
  };
  return d;
}

void RelieMenusConfiguration(TKVXmainForm &fenetre, TSession &session,
                             DialoguesConfiguration dialogues) {
  fenetre.OpenConfigItem->setEnabled(true);
  fenetre.SaveConfigItem->setEnabled(true);
  QObject::connect(fenetre.OpenConfigItem, &QAction::triggered, &fenetre,
                   [&fenetre, &session, dialogues] {
                     session.OuvreConfiguration([&] {
                       return dialogues.ouvrir(
                           &fenetre, QString::fromStdString(session.reglages().dossierConfig));
                     });
                   });
  QObject::connect(
      fenetre.SaveConfigItem, &QAction::triggered, &fenetre, [&fenetre, &session, dialogues] {
        const bool actif = fenetre.Timer->isActive();
        fenetre.Timer->stop();
        const QString fichier =
            dialogues.sauver(&fenetre, QString::fromStdString(session.reglages().dossierConfig));
        if (!fichier.isEmpty()) {
          if (const QString erreur = session.Sauve(fichier); !erreur.isEmpty())
            dialogues.echec(&fenetre, erreur);
        }
        if (actif) fenetre.Timer->start();
      });
}

}  // namespace kvx::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the optical-fork mode asks of the main window besides the engine's
// usual view: the upload label and hourglass, the automatic stop settings of
// the fork panel, and the non-modal stop dialog. The Qt window implements
// it; the engine works without one (tests), with the panel's defaults.

namespace kvx::device {

class VeltorView {
 public:
  virtual ~VeltorView() = default;
  // `Label8` "Téléchargement Veltor en cours" and the hourglass while the
  // fork program goes to the box.
  virtual void showUploading(bool uploading) { (void)uploading; }
  // The hourglass while the events are fetched.
  virtual void setFetching(bool fetching) { (void)fetching; }
  // `VeltorAutoCB` "Arrêt auto. après" and `VeltorSE` (seconds).
  virtual bool autoStop() const { return true; }
  virtual int autoStopSeconds() const { return 10; }
  // `TVeltorStopDlg`, shown without blocking while the fork counts.
  virtual void showStopDialog() {}
  virtual void closeStopDialog() {}
};

}  // namespace kvx::device

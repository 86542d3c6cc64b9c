#include "device/acquisition_engine.h"

namespace kvx::device {

AcquisitionEngine::AcquisitionEngine(display::TgrapheKVX &graphe, BoxLink &link,
                                     AcquisitionTimer &timer, AcquisitionView &view)
    : m_graphe(graphe), m_link(link), m_timer(timer), m_view(view) {}

AcquisitionEngine::~AcquisitionEngine() = default;

void AcquisitionEngine::TimerTimer() {}
void AcquisitionEngine::EnregistreBtnClick() {}
bool AcquisitionEngine::FormKeypress(char32_t) {
  return false;
}
void AcquisitionEngine::StopBtnClick(bool) {}
void AcquisitionEngine::ResetBtnClick(bool) {}
void AcquisitionEngine::UndoBtnClick() {}
void AcquisitionEngine::MonocoupCBClick(bool checked) {
  m_monocoup = checked;
}
void AcquisitionEngine::TransferFocusReturned() {}
void AcquisitionEngine::ApplyConfiguration() {}
void AcquisitionEngine::PrepareAcquisition() {}
void AcquisitionEngine::HaltAcquisition() {}
void AcquisitionEngine::UpdateButtons() {}
void AcquisitionEngine::NombreUpClick() {}
void AcquisitionEngine::NombreDownClick() {}
void AcquisitionEngine::NbreEditEnter(const std::string &) {}
void AcquisitionEngine::NbreEditExit(const std::string &) {}
void AcquisitionEngine::DureeSpinUpClick() {}
void AcquisitionEngine::DureeSpinDownClick() {}
void AcquisitionEngine::DureeEditEnter(const std::string &) {}
void AcquisitionEngine::DureeEditExit(const std::string &) {}
bool AcquisitionEngine::NbreEditAccepts(char32_t key) {
  // Besides digits and backspace the field has always let two control keys
  // through (the codes of "%" and "'"); they change nothing in the number.
  return (key >= U'0' && key <= U'9') || key == 8 || key == U'%' || key == U'\'';
}

char32_t AcquisitionEngine::DureeEditFilter(char32_t key, char decimalSeparator) {
  if (key >= U'0' && key <= U'9') return key;
  // Either separator is typed as the desktop's, so the text always parses.
  if (key == U'.' || key == U',') return static_cast<char32_t>(decimalSeparator);
  switch (key) {
    case U' ':
    case 8:
    case U'm':
    case U'i':
    case U'n':
    case U's':
    case U'\u00B5':  // micro sign
      return key;
    default:
      return 0;
  }
}
void AcquisitionEngine::ReadLiveValues() {}
void AcquisitionEngine::StartTimedAcquisition() {}
void AcquisitionEngine::BoxGone() {}

}  // namespace kvx::device

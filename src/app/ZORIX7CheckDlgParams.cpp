// The main dialog's buttons of the measurement parameters.
#include "app/ZORIX7CheckDlg.h"
#include "params/RandomLimitsDlg.h"
#include "params/TAlist.h"

void CZORIX7CheckDlg::OnTiefenausgleich() {
  UpdateData(TRUE);
  CTAlist dlg(&m_param[CardIndex()][SetIndex()], this);
  dlg.DoModal();
}

void CZORIX7CheckDlg::OnRandomLimits() {
  CRandomLimitsDlg dlg(&m_random.min, &m_random.max, this);
  dlg.DoModal();
}

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "params/RandomLimitsDlg.h"
#include "params/TAlist.h"

namespace {
class ParamsButtons : public MainDialogFixture {};

TEST_F(ParamsButtons, TiefenausgleichOpensTheSelectedSetAndRandomLimitsTheLimits) {
  auto& d = Start();
  EXPECT_TRUE(d.GetDlgItem(IDC_TIEFENAUSGLEICH)->isEnabled());
  EXPECT_TRUE(d.GetDlgItem(IDC_RANDOM_LIMITS)->isEnabled());
  d.m_param[1][3].TaFileName = "held.ta";  // shown without asking for a file
  SetEditText(d, IDC_KARTE, "2");
  SetEditText(d, IDC_PARAMSATZ, "3");
  const ParameterSet* shown = nullptr;
  QueueDialog<CTAlist>([&](CTAlist& list) {
    shown = list.m_pParam;
    return ScriptedUiHost::PressOk(list);
  });
  Click(d, IDC_TIEFENAUSGLEICH);
  EXPECT_EQ(shown, &d.m_param[1][3]);

  QueueDialog<CRandomLimitsDlg>([](CRandomLimitsDlg& limits) {
    SetEditText(limits, CRandomLimitsDlg::IDC_MAX_FIRST + 6, "450");  // "Verstärkung"
    return ScriptedUiHost::PressOk(limits);
  });
  Click(d, IDC_RANDOM_LIMITS);
  EXPECT_EQ(d.m_random.max.Verstaerkung, 450);
  EXPECT_EQ(d.m_random.min.Aufnahmelaenge, 16);
}
}  // namespace

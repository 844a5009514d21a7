// The gate values window lists what its opener hands it, in the framing of the card's mode.
// Before any Qt header: the builder names a parameter "slots", a Qt keyword macro.
#include <cstddef>

#include "measure/BufferBuilder.h"

#include <QFontInfo>
#include <QListWidget>

#include "commands/DataBlendenDlg.h"
#include "support/DialogTestSupport.h"

using measure::test::Buf;

namespace {

class DataBlendenDlgTest : public DialogFixture {};

TEST_F(DataBlendenDlgTest, GateValuesListBothFramings) {
  Buf headed;
  headed.gateRecord(-2, {{100, 0xC000, 40}, {200, 0x8000, 80}, {0, 0, 0}}).u32(0xFFFFEFFF);
  CDataBlendenDlg hd(headed.data(), static_cast<UINT>(headed.size()), nullptr, TRUE);
  host.QueueDialog(ScriptedUiHost::PressOk);
  EXPECT_EQ(hd.DoModal(), IDOK);
  EXPECT_EQ(host.Dialogs()[0].title, "Blendenwerte");
  const auto& h = hd.m_listBlenden.Lines();
  ASSERT_EQ(h.size(), 4u);
  EXPECT_EQ(h[0], "60 Bytes");
  EXPECT_EQ(h[1], "56 Bytes, Datentyp 0x40, Kennung -2");
  EXPECT_EQ(h[2].str().substr(0, 32), "t= 100 v= 10 ^| t= 200 v= 20  | ");
  EXPECT_EQ(h[3], "Ende Prüfzyklus 1");
  EXPECT_EQ(ListLines(hd, CDataBlendenDlg::IDC_BLENDENLIST), h);
  EXPECT_TRUE(QFontInfo(hd.GetDlgItem(CDataBlendenDlg::IDC_BLENDENLIST)->font()).fixedPitch());

  // Plain framing: records belong to the active sets 1..6 in turn.
  Buf plain;
  plain.zeros(48);
  ActiveSetFlags active{};
  active.flag[1] = TRUE;
  active.flag[3] = TRUE;
  CDataBlendenDlg pd(plain.data(), static_cast<UINT>(plain.size()), &active, FALSE);
  pd.DoModal();
  const auto& p = pd.m_listBlenden.Lines();
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[0], "48 Bytes");
  EXPECT_EQ(p[1], "Parametersatz 1");
  EXPECT_EQ(p[2].str().substr(0, 6), "   1: ");
  EXPECT_EQ(p[3], "Parametersatz 3");
  EXPECT_EQ(p[4].str().substr(0, 6), "   2: ");

  // Without the card's flags no set is active: the byte count only.
  CDataBlendenDlg none(plain.data(), static_cast<UINT>(plain.size()), nullptr, FALSE);
  none.DoModal();
  EXPECT_EQ(none.m_listBlenden.Lines(), std::vector<CString>{"48 Bytes"});
}

}  // namespace

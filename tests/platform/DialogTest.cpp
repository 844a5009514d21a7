#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "platform/CDialog.h"
#include "support/DialogTestSupport.h"

namespace {
enum : int {
  IDC_INT = 1001, IDC_UINT, IDC_SHORT, IDC_BYTE, IDC_WORD, IDC_FLOAT, IDC_DOUBLE, IDC_TEXT,
  IDC_CHECK, IDC_RADIO_A, IDC_RADIO_B, IDC_RADIO_C, IDC_STATIC, IDC_LIST, IDC_APPLY, IDC_HEX, IDC_MISSING = 1999
};

class ExchangeDialog : public CDialog {
 public:
  ExchangeDialog() : CDialog(100) {}

  int m_int = -5;
  UINT m_uint = 4000000000u;
  short m_short = -300;
  BYTE m_byte = 200;
  WORD m_word = 65535;
  float m_float = 20.5f;
  double m_double = 0.1;
  CString m_text = "Prüfkopf";
  BOOL m_check = TRUE;
  int m_radioA = 1;
  int m_radioB = 0;
  int m_radioC = 1;
  DWORD m_hex = 0x1A2B;
  CString m_static = "Status";
  CListBox m_list;
  int m_applied = 0;
  int m_doubleClicks = 0;
  int m_createCalls = 0;

 protected:
  void CreateControls() override {
    ++m_createCalls;
    SetWindowText("Parameter");
    for (int id = IDC_INT; id <= IDC_TEXT; ++id) AddEdit(id);
    AddCheck(IDC_CHECK, "DMA");
    AddRadioField(m_field);
    AddEdit(IDC_HEX);
    AddStatic(IDC_STATIC, "");
    AddListBox(IDC_LIST, m_list, [this] { ++m_doubleClicks; });
    AddButton(IDC_APPLY, "Übernehmen", [this] { ++m_applied; });
    AddButton(IDOK, "OK");
    AddButton(IDCANCEL, "Abbrechen");
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_INT, m_int);
    DDX_Text(pDX, IDC_UINT, m_uint);
    DDX_Text(pDX, IDC_SHORT, m_short);
    DDX_Text(pDX, IDC_BYTE, m_byte);
    DDX_Text(pDX, IDC_WORD, m_word);
    DDX_Text(pDX, IDC_FLOAT, m_float);
    DDX_Text(pDX, IDC_DOUBLE, m_double);
    DDX_Text(pDX, IDC_TEXT, m_text);
    DDX_Check(pDX, IDC_CHECK, m_check);
    for (const auto& b : m_field) DDX_Radio(pDX, b.id, *b.member);
    DDX_Hex(pDX, IDC_HEX, m_hex, 4);
    DDX_Text(pDX, IDC_STATIC, m_static);
  }

 public:
  const RadioField m_field = {{IDC_RADIO_A, "A", &m_radioA}, {IDC_RADIO_B, "B", &m_radioB}, {IDC_RADIO_C, "C", &m_radioC}};
};

// Exchanges on an id that the dialog has no control for.
class MissingControlDialog : public CDialog {
 public:
  MissingControlDialog() : CDialog(101) {}
  int m_value = 3;

 protected:
  void CreateControls() override { AddEdit(IDC_INT); }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_INT, m_value);
    DDX_Text(pDX, IDC_MISSING, m_value);
  }
};

std::vector<int> g_missing;
void RecordMissing(const CDialog&, int id) { g_missing.push_back(id); }

class DialogExchange : public DialogFixture {
 protected:
  void SetUp() override { dlg.InitDialog(); }
  ExchangeDialog dlg;
};
}  // namespace

TEST_F(DialogExchange, MembersAreShownInTheControls) {
  EXPECT_EQ(dlg.m_createCalls, 1);
  const std::pair<int, const char*> shown[] = {{IDC_INT, "-5"},     {IDC_UINT, "4000000000"}, {IDC_SHORT, "-300"},
                                               {IDC_BYTE, "200"},   {IDC_WORD, "65535"},      {IDC_FLOAT, "20.5"},
                                               {IDC_DOUBLE, "0.1"}, {IDC_TEXT, "Prüfkopf"},   {IDC_STATIC, "Status"}};
  for (auto [id, text] : shown) EXPECT_EQ(dlg.GetDlgItemText(id), text) << id;
  EXPECT_TRUE(qobject_cast<QCheckBox*>(dlg.GetDlgItem(IDC_CHECK))->isChecked());
  EXPECT_FALSE(IsChecked(dlg, IDC_RADIO_A));
  EXPECT_TRUE(IsChecked(dlg, IDC_RADIO_B));
  EXPECT_FALSE(IsChecked(dlg, IDC_RADIO_C));
  EXPECT_EQ(dlg.GetDlgItemText(IDC_HEX), "1A2B");
  EXPECT_EQ(dlg.GetDlgItem(IDC_INT)->property("ctrlId").toInt(), IDC_INT);

  dlg.m_float = 1.0f / 3.0f;
  dlg.m_double = 1.0 / 3.0;
  dlg.UpdateData(FALSE);
  EXPECT_EQ(dlg.GetDlgItemText(IDC_FLOAT), "0.333333");
  EXPECT_EQ(dlg.GetDlgItemText(IDC_DOUBLE), "0.333333333333333");
}

TEST_F(DialogExchange, ControlsAreReadBackIntoMembers) {
  SetEditText(dlg, IDC_INT, "  -2147483648 ");
  SetEditText(dlg, IDC_UINT, "+4294967295");
  SetEditText(dlg, IDC_SHORT, "-32768");
  SetEditText(dlg, IDC_BYTE, "0");
  SetEditText(dlg, IDC_WORD, "1234");
  SetEditText(dlg, IDC_FLOAT, " 1.5e2 ");
  SetEditText(dlg, IDC_DOUBLE, "-0.25");
  SetEditText(dlg, IDC_TEXT, "  bleibt wie getippt ");
  SetCheck(dlg, IDC_CHECK, false);
  Click(dlg, IDC_RADIO_A);
  ASSERT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_int, -2147483647 - 1);
  EXPECT_EQ(dlg.m_uint, 4294967295u);
  EXPECT_EQ(dlg.m_short, -32768);
  EXPECT_EQ(dlg.m_byte, 0);
  EXPECT_EQ(dlg.m_word, 1234);
  EXPECT_FLOAT_EQ(dlg.m_float, 150.0f);
  EXPECT_DOUBLE_EQ(dlg.m_double, -0.25);
  EXPECT_EQ(dlg.m_text, "  bleibt wie getippt ");
  EXPECT_FALSE(dlg.m_check);
  // The click selected A (0) and cleared the others of its field; a second click keeps it.
  EXPECT_EQ(SelectedRadio(dlg.m_field), 0);
  EXPECT_EQ(dlg.m_radioB, 1);
  EXPECT_EQ(dlg.m_radioC, 1);
  EXPECT_FALSE(IsChecked(dlg, IDC_RADIO_B));
  Click(dlg, IDC_RADIO_A);
  ASSERT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_radioA, 0);
  // Any value other than 0 means not selected; a field with none selected reads back as 1s.
  dlg.m_radioA = 7;
  dlg.UpdateData(FALSE);
  ASSERT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(SelectedRadio(dlg.m_field), -1);
  SelectRadio(dlg.m_field, 2);
  EXPECT_EQ(std::vector<int>({dlg.m_radioA, dlg.m_radioB, dlg.m_radioC}), std::vector<int>({1, 1, 0}));
  EXPECT_TRUE(host.Boxes().empty());
}

TEST_F(DialogExchange, HexFieldsTakeEitherCaseWithOrWithoutPrefix) {
  for (const char* typed : {"1a2b", "0x1A2B", "1A2B", " 0X1a2b "}) {
    dlg.m_hex = 0;
    SetEditText(dlg, IDC_HEX, typed);
    ASSERT_TRUE(dlg.UpdateData(TRUE)) << typed;
    EXPECT_EQ(dlg.m_hex, 0x1A2Bu) << typed;
  }
  for (const char* typed : {"xyz", "", "0x", "1A2B3C4D5", "-1"}) {
    host.Clear();
    dlg.m_hex = 0x55;
    SetEditText(dlg, IDC_HEX, typed);
    EXPECT_FALSE(dlg.UpdateData(TRUE)) << typed;
    EXPECT_EQ(dlg.m_hex, 0x55u) << typed;
    ASSERT_EQ(host.Boxes().size(), 1u);
    EXPECT_EQ(host.Boxes()[0].text, "Bitte eine Hexadezimalzahl eingeben.");
  }
  dlg.m_hex = 0xABCDEF;  // wider than the field keeps every digit
  dlg.UpdateData(FALSE);
  EXPECT_EQ(dlg.GetDlgItemText(IDC_HEX), "ABCDEF");
}

TEST_F(DialogExchange, AnExchangeOnAMissingControlIsReported) {
  MissingControlHandler previous = SetMissingControlHandler(RecordMissing);
  g_missing.clear();
  MissingControlDialog bad;
  bad.InitDialog();
  bad.UpdateData(TRUE);
  SetMissingControlHandler(previous);
  EXPECT_EQ(g_missing, std::vector<int>({IDC_MISSING, IDC_MISSING}));  // once per direction
}

TEST_F(DialogExchange, ABadNumberIsReportedAndStopsTheExchange) {
  struct Case {
    int id;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {IDC_INT, "12abc", "Bitte eine ganze Zahl eingeben."},
      {IDC_INT, "", "Bitte eine ganze Zahl eingeben."},
      {IDC_INT, "1.5", "Bitte eine ganze Zahl eingeben."},
      {IDC_INT, "2147483648", "Bitte eine ganze Zahl zwischen -2147483648 und 2147483647 eingeben."},
      {IDC_INT, "99999999999999999999999", "Bitte eine ganze Zahl zwischen -2147483648 und 2147483647 eingeben."},
      {IDC_UINT, "-1", "Bitte eine ganze Zahl zwischen 0 und 4294967295 eingeben."},
      {IDC_SHORT, "32768", "Bitte eine ganze Zahl zwischen -32768 und 32767 eingeben."},
      {IDC_BYTE, "256", "Bitte eine ganze Zahl zwischen 0 und 255 eingeben."},
      {IDC_WORD, "- 1", "Bitte eine ganze Zahl eingeben."},
      {IDC_FLOAT, "20,5", "Bitte eine Zahl eingeben."},
      {IDC_FLOAT, "1e39", "Bitte eine Zahl eingeben."},
      {IDC_DOUBLE, "nan", "Bitte eine Zahl eingeben."},
      {IDC_DOUBLE, "+-1", "Bitte eine Zahl eingeben."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ExchangeDialog fresh;
    fresh.InitDialog();
    host.Clear();
    SetEditText(fresh, c.id, c.text);
    SetEditText(fresh, IDC_TEXT, "neu");  // comes after every number: must stay unread
    EXPECT_FALSE(fresh.UpdateData(TRUE));
    ASSERT_EQ(host.Boxes().size(), 1u);
    EXPECT_EQ(host.Boxes()[0].text, c.message);
    EXPECT_EQ(host.Boxes()[0].caption, "Parameter");
    EXPECT_EQ(fresh.m_int, -5);
    EXPECT_EQ(fresh.m_uint, 4000000000u);
    EXPECT_EQ(fresh.m_short, -300);
    EXPECT_EQ(fresh.m_byte, 200);
    EXPECT_EQ(fresh.m_word, 65535);
    EXPECT_EQ(fresh.m_float, 20.5f);
    EXPECT_EQ(fresh.m_double, 0.1);
    EXPECT_EQ(fresh.m_text, "Prüfkopf");
  }
}

TEST_F(DialogExchange, OkRunsOnlyWhenTheValuesAreValid) {
  SetEditText(dlg, IDC_BYTE, "300");
  Click(dlg, IDOK);
  EXPECT_FALSE(dlg.IsEnded());
  EXPECT_EQ(host.Boxes().size(), 1u);
  SetEditText(dlg, IDC_BYTE, "30");
  Click(dlg, IDOK);
  EXPECT_TRUE(dlg.IsEnded());
  EXPECT_EQ(dlg.ModalResult(), IDOK);
  EXPECT_EQ(dlg.m_byte, 30);
}

TEST_F(DialogExchange, ButtonsAndListBoxReachTheirHandlers) {
  Click(dlg, IDC_APPLY);
  EXPECT_EQ(dlg.m_applied, 1);
  dlg.GetDlgItem(IDC_APPLY)->setEnabled(false);
  dlg.ClickDlgItem(IDC_APPLY);  // a disabled button cannot be pressed
  EXPECT_EQ(dlg.m_applied, 1);

  auto* list = qobject_cast<QListWidget*>(dlg.GetDlgItem(IDC_LIST));
  ASSERT_NE(list, nullptr);
  dlg.m_list.AddString("Zeile 0");
  dlg.m_list.AddString("Zeile 1");
  emit list->itemDoubleClicked(list->item(1));
  EXPECT_EQ(dlg.m_doubleClicks, 1);
  list->setCurrentRow(1);  // the user's choice
  EXPECT_EQ(dlg.m_list.GetCurSel(), 1);
}

TEST(CListBoxTest, KeepsLinesAndSelectionWithAndWithoutAWidget) {
  CListBox box;
  EXPECT_EQ(box.AddString("a"), 0);
  EXPECT_EQ(box.AddString("b"), 1);
  EXPECT_EQ(box.SetCurSel(1), 1);
  EXPECT_EQ(box.SetCurSel(5), -1);
  EXPECT_EQ(box.GetCurSel(), -1);
  box.SetCurSel(1);
  {
    QListWidget widget;
    box.Attach(&widget);
    ASSERT_EQ(widget.count(), 2);
    EXPECT_EQ(widget.currentRow(), 1);
    EXPECT_EQ(box.DeleteString(0), 1);
    EXPECT_EQ(box.GetCurSel(), 0);  // selection follows its line
    EXPECT_EQ(widget.count(), 1);
    EXPECT_EQ(widget.item(0)->text(), "b");
    EXPECT_EQ(box.DeleteString(3), -1);

    std::vector<std::string> many;
    for (int i = 0; i < 65536; ++i) many.push_back("Wert " + std::to_string(i));
    box.AddStrings(many);
    EXPECT_EQ(box.GetCount(), 65537);
    EXPECT_EQ(widget.count(), 65537);
    EXPECT_EQ(box.GetText(65536), "Wert 65535");
    box.ResetContent();
    EXPECT_EQ(widget.count(), 0);
    box.AddString("c");
  }
  // The widget is gone; the box carries on alone.
  EXPECT_EQ(box.Widget(), nullptr);
  EXPECT_EQ(box.AddString("d"), 1);
  CString text;
  EXPECT_EQ(box.GetText(1, text), 1);
  EXPECT_EQ(text, "d");
  EXPECT_EQ(box.GetText(2, text), -1);
}

TEST(CListBoxTest, ABoxDestroyedBeforeItsWidgetLeavesNothingDangling) {
  QListWidget widget;
  {
    CListBox box;
    box.AddString("a");
    box.Attach(&widget);
  }
  widget.setCurrentRow(0);  // would write into the dead box if still connected
  widget.clear();
  SUCCEED();
}

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTimer>
#include <cstdio>

#include "platform/CDialog.h"
#include "platform/UiHost.h"

namespace {
enum : int { IDC_VALUE = 1010 };

class ValueDialog : public CDialog {
 public:
  ValueDialog() : CDialog(200) {}
  int m_value = 1;
  bool m_endInInit = false;
  int m_inits = 0;

 protected:
  void CreateControls() override {
    SetWindowText("Wert");
    AddEdit(IDC_VALUE);
    AddButton(IDOK, "OK", [this] { OnOK(); });
    AddButton(IDCANCEL, "Abbrechen", [this] { OnCancel(); });
  }
  BOOL OnInitDialog() override {
    ++m_inits;
    CDialog::OnInitDialog();
    if (m_endInInit) EndDialog(IDOK + 40);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_VALUE, m_value); }
};

std::string Captured(FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string s;
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  return s;
}
}  // namespace

TEST(TerminalHost, PrintsBoxesAndAnswersWithTheConfiguredAnswer) {
  FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  TerminalUiHost terminal(out, false, IDYES);
  ScopedUiHost scope(terminal);
  EXPECT_EQ(MessageBox("PCI Konfiguration OK", "Test"), IDOK);
  EXPECT_EQ(MessageBox("Wollen Sie wirklich schreiben?", "Kennung", MB_YESNO), IDYES);
  EXPECT_EQ(MessageBox("Weiter?", "X", MB_OKCANCEL), IDOK);
  ValueDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_inits, 1);
  CString path = "p";
  EXPECT_FALSE(terminal.GetOpenFileName(FileDialogRequest{}, path));
  EXPECT_EQ(path, "p");
  std::string text = Captured(out);
  EXPECT_NE(text.find("[Test] PCI Konfiguration OK\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[Kennung] Wollen Sie wirklich schreiben?\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[Wert] "), std::string::npos) << text;
  std::fclose(out);

  // Nobody at the terminal: "go on?" questions end the loop they stand in.
  TerminalUiHost no(std::tmpfile(), false, IDNO);
  EXPECT_EQ(no.MessageBox("ASCAN?", "c", MB_YESNOCANCEL), IDCANCEL);
  EXPECT_EQ(no.MessageBox("?", "c", MB_OKCANCEL), IDCANCEL);
  no.SetFileAnswer(CString("/tmp/dsp.hex"));
  EXPECT_TRUE(no.GetOpenFileName(FileDialogRequest{}, path));
  EXPECT_EQ(path, "/tmp/dsp.hex");
}

// A terminal cannot show a save chooser, even with a command-line file, which is one to read.
TEST(SaveChooser, RefusedOnTheTerminal) {
  CString path = "/tmp/b.ta";
  FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  TerminalUiHost terminal(out, false, IDYES);
  terminal.SetFileAnswer(CString("/tmp/dsp.hex"));
  EXPECT_FALSE(terminal.GetSaveFileName(FileDialogRequest{"Als PNG speichern"}, path));
  EXPECT_EQ(path, "/tmp/b.ta");
  const std::string text = Captured(out);
  EXPECT_NE(text.find("[Als PNG speichern] Speichern ohne Bildschirm nicht möglich.\n"), std::string::npos) << text;
  std::fclose(out);
}

// A strict script never answers a write question on its own, and a dialog of the wrong type
// is an error, not a silent cancel.
TEST(ScriptedHostStrict, UnansweredQuestionsAndWrongDialogsAreScriptErrors) {
  ScriptedUiHost host;
  std::vector<std::string> errors;
  host.SetScriptErrorHandler([&](const std::string& e) { errors.push_back(e); });
  ScopedUiHost scope(host);
  EXPECT_EQ(MessageBox("Wollen Sie wirklich schreiben?", "Kennung", MB_YESNO), IDYES);  // lenient by default
  host.SetStrict(true);
  EXPECT_EQ(MessageBox("Info", "Test"), IDOK);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(MessageBox("Wollen Sie wirklich schreiben?", "Kennung", MB_YESNO), IDNO);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Wollen Sie wirklich schreiben?"), std::string::npos);
  host.QueueAnswer(IDYES);
  EXPECT_EQ(MessageBox("Wollen Sie wirklich schreiben?", "Kennung", MB_YESNO), IDYES);

  struct OtherDialog : CDialog {
    OtherDialog() : CDialog(300) {}
  };
  bool ran = false;
  host.QueueDialogOf<OtherDialog>([&](OtherDialog&) {
    ran = true;
    return IDOK;
  });
  ValueDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_FALSE(ran);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[1].find("ValueDialog"), std::string::npos) << errors[1];
}

TEST(DefaultHost, IsTheTerminalAndScopesRestoreIt) {
  UiHost* before = &CurrentUiHost();
  EXPECT_NE(dynamic_cast<TerminalUiHost*>(before), nullptr);
  {
    ScriptedUiHost scripted;
    ScopedUiHost scope(scripted);
    EXPECT_EQ(&CurrentUiHost(), &scripted);
  }
  EXPECT_EQ(&CurrentUiHost(), before);
  EXPECT_EQ(MessageBox("ohne Frage", "Default", MB_YESNO), IDNO);
}

TEST(QtHost, ModalDialogEndsThroughItsButtonsAndEscape) {
  QtUiHost qt;
  ScopedUiHost scope(qt);
  ValueDialog dlg;
  QTimer::singleShot(0, &dlg, [&] {
    qobject_cast<QLineEdit*>(dlg.GetDlgItem(IDC_VALUE))->setText("9");
    dlg.ClickDlgItem(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_value, 9);
  EXPECT_FALSE(dlg.isVisible());

  QTimer::singleShot(0, &dlg, [&] { dlg.reject(); });  // Escape or the close box
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);

  ValueDialog ending;
  ending.m_endInInit = true;
  EXPECT_EQ(ending.DoModal(), IDOK + 40);  // never shown

  ValueDialog modeless;
  qt.ShowModeless(modeless);
  EXPECT_TRUE(modeless.isVisible());
  modeless.EndDialog(IDCANCEL);
  EXPECT_FALSE(modeless.isVisible());
}

TEST(FileFilter, TheWindowsFormBecomesQtNameFilters) {
  EXPECT_EQ(ToQtFileFilter("TA-Datei (*.ta)|*.ta|All Files (*.*)|*.*||"), "TA-Datei (*.ta);;All Files (*)");
  EXPECT_EQ(ToQtFileFilter("Firmware|*.bin;*.hex||"), "Firmware (*.bin *.hex)");
  EXPECT_EQ(ToQtFileFilter("*.ini"), "*.ini");
  EXPECT_EQ(ToQtFileFilter(""), "");
}

#include "app/ZORIX7CheckDlg.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QTime>
#include <algorithm>

#include "app/AboutDlg.h"
#include "app/BusbelegungDlg.h"
#include "app/ZORIX9Dlg.h"
#include "card/LibraryMessage.h"
#include "platform/TextParse.h"
#include "platform/UiHost.h"

CZORIX7CheckDlg::CZORIX7CheckDlg(QWidget* parent) : CDialog(IDD_ZORIX7CHECK_DIALOG, parent) {
  for (const auto& row : TestColumn()) m_strStatus.push_back(row.statusText);
  SetWindowText("ZORIX7 Check");
  setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
}

CZORIX7CheckDlg::~CZORIX7CheckDlg() { OnDestroy(); }

int CZORIX7CheckDlg::CardIndex() const {
  int cards = std::max<int>(1, static_cast<int>(m_nCards));
  return std::clamp<int>(static_cast<int>(std::min<UINT>(m_nCard, kMaxCards)), 1, cards) - 1;
}

int CZORIX7CheckDlg::SetIndex() const { return std::clamp(m_nParamSet, 0, 7); }

void CZORIX7CheckDlg::OpenCards(int& highestNumber) {
  m_nCards = 0;
  highestNumber = 0;
  for (int number = 1; number <= kMaxCards; ++number) {
    HZORIX7 h = ZORIX7Open(number);
    m_hCard[m_nCards] = h;
    if (h) {
      ++m_nCards;
      highestNumber = number;
    }
  }
}

void CZORIX7CheckDlg::PlaceCards() {
  std::vector<OpenedCard> cards(m_nCards);
  bool positionsReadable = true;
  for (UINT i = 0; i < m_nCards; ++i) {
    cards[i].handle = m_hCard[i];
    if (!positionsReadable) continue;
    DWORD error = 0;
    if (!ZORIX7GetCardPosition(m_hCard[i], &cards[i].bus, &cards[i].slot, &error)) {
      ReportCardError(CString::Formatted("GetCardPosition %d Error %X", i + 1, error), "Init");
      positionsReadable = false;
      continue;
    }
    cards[i].positionKnown = true;
    KennungRecord record{};
    ZORIX7GetKonfig(m_hCard[i], &record, &error);
    cards[i].text = KarteText(record);
  }
  std::vector<HZORIX7> byNumber = AssignCardNumbers(cards, m_channel);
  std::fill(std::begin(m_hCard), std::end(m_hCard), 0);
  std::copy(byNumber.begin(), byNumber.end(), m_hCard);
}

void CZORIX7CheckDlg::WarmUpCards() {
  for (UINT c = 0; c < m_nCards; ++c) {
    if (!ZORIX7IsVersion3(m_hCard[c])) {
      m_nParamSet = 0;
      m_bZorix9Mode = FALSE;
    }
    DWORD error = 0;
    if (!ZORIX7WarmUp(m_hCard[c], &error))
      ReportCardError(CString::Formatted("WarmUp Karte %d Error %X", c + 1, error), "Init");
  }
}

void CZORIX7CheckDlg::SendIdentifications(bool onlyZorix7F) {
  for (UINT i = 0; i < m_nCards; ++i) {
    if (onlyZorix7F && !ZORIX7IsVersion3(m_hCard[i])) continue;
    for (int s = 0; s < 8; ++s) {
      DWORD error = 0;
      ZORIX7SetZORIX9(m_hCard[i], static_cast<BYTE>(s), m_bZorix9Mode ? m_ident[i][s] : 0, &error);
    }
  }
}

BOOL CZORIX7CheckDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  int highest = 0;
  OpenCards(highest);
  if (static_cast<int>(m_nCards) != highest)
    MessageBox(CString::Formatted("%d Karten -> %d Devices", m_nCards, highest), "ZORIX7Open");
  if (m_nCards == 0) {
    // Below the message as on Windows, the library's own reason when it gives one.
    CString text = "Treiber ZORIX7.sys ist nicht aktiv!";
    if (std::string reason = CardLibraryMessage(); !reason.empty()) text += "\n\n" + CString(reason);
    MessageBox(text, "Program Cancel");
    EndDialog(0);
    return TRUE;
  }
  UpdateData(TRUE);
  ChooseProfileFile();
  m_bPower = TRUE;
  m_nDataBytes = 0;
  m_dataBuffer.assign(kDataBufferBytes, 0);
  m_pDataBuffer = m_dataBuffer.data();
  LoadSettings();
  SetRandomLimitDefaults(m_random);
  PlaceCards();

  m_strKarten.Format("von %d Karten", m_nCards);
  m_nTimeOut = 10;
  // A stored card number outside the cards present would select no card at all.
  if (m_nCard > m_nCards) m_nCard = m_nCards;
  if (m_nCard < 1) m_nCard = 1;
  WarmUpCards();
  for (UINT i = 0; i < m_nCards; ++i)
    for (int s = 0; s < 8; ++s) m_ident[i][s] = static_cast<ZorixIdent>(-(static_cast<int>(i + 1) * 10 + s));
  SendIdentifications(true);
  UpdateTestButtonStates();
  // Start-up adjusts some loaded values; leaving right away asks nothing.
  m_savedSettings = SettingsText();
  UpdateData(FALSE);
  return TRUE;
}

bool CZORIX7CheckDlg::ConfirmExit() {
  if (m_destroyed || m_nCards == 0 || !SettingsChanged()) return true;
  return MessageBox("Einstellungen wurden geändert. Trotzdem beenden?", GetWindowText(), MB_YESNO | MB_ICONQUESTION) ==
         IDYES;
}

void CZORIX7CheckDlg::keyPressEvent(QKeyEvent* event) {
  // Escape closes boxes and dialogs, never the main window with its list and settings.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  CDialog::keyPressEvent(event);
}

void CZORIX7CheckDlg::OnOK() {
  if (ConfirmExit()) CloseCardsAndEnd();
}

void CZORIX7CheckDlg::CloseCardsAndEnd() {
  for (UINT c = 0; c < m_nCards; ++c) {
    if (m_cardsClosed[c]) continue;
    m_cardsClosed[c] = true;
    if (!ZORIX7Close(m_hCard[c])) ReportCardError(CString::Formatted("Karte %d Close Error", c + 1), "Close");
  }
  EndDialog(IDOK);
  OnDestroy();
}

void CZORIX7CheckDlg::OnCancel() {
  if (!ConfirmExit()) return;
  CDialog::OnCancel();
  OnDestroy();
}

void CZORIX7CheckDlg::OnDestroy() {
  if (m_destroyed) return;
  m_destroyed = true;
  for (UINT c = 0; c < m_nCards; ++c) {
    if (m_cardsClosed[c]) continue;
    m_cardsClosed[c] = true;
    ZORIX7Close(m_hCard[c]);
  }
  m_pDataBuffer = nullptr;
  std::vector<BYTE>().swap(m_dataBuffer);
}

void CZORIX7CheckDlg::EnsurePowerOn(BOOL on) {
  if (on && !m_bPower) {
    m_bPower = TRUE;
    UpdateData(FALSE);
  } else if (!on && m_bPower) {
    m_bPower = FALSE;
    UpdateData(FALSE);
  }
}

BOOL CZORIX7CheckDlg::PrepareSetOnCard(const ParameterSet& set, HZORIX7 card, DWORD* error) {
  return ::PrepareSetOnCard(set, card, error);
}

void CZORIX7CheckDlg::OnHotPlug() { EnsurePowerOn(!m_bPower); }

void CZORIX7CheckDlg::OnClearList() {
  m_listResult.ResetContent();
  m_resultLines.clear();
  m_resultTimes.clear();
}

void CZORIX7CheckDlg::AppendResultLine(const CString& line, Verdict verdict, std::optional<DWORD> errorWord) {
  AppendResultLine(ResultLine(line, verdict, errorWord));
}

void CZORIX7CheckDlg::AppendResultLine(ResultLine line) {
  int index = m_listResult.AddString(line.text);
  m_listResult.SetCurSel(index);
  m_resultLines.push_back(std::move(line));
  m_resultTimes.push_back(QTime::currentTime().toString("HH:mm:ss").toStdString());
  ShowResultLine(index, m_resultLines.back());
  if (m_onResultLine) m_onResultLine(m_resultLines.back());
  // What the card library has said meanwhile (a replay leaving its session) shows in the window;
  // headless runs have it on stderr.
  if (std::string message = CardLibraryMessage(); !message.empty() && message != m_libraryMessage) {
    m_libraryMessage = message;
    m_listResult.SetCurSel(m_listResult.AddString(CString(message)));
  }
}

void CZORIX7CheckDlg::OnBusbelegung() {
  CBusbelegungDlg dlg(m_channel, this);
  dlg.DoModal();
}

void CZORIX7CheckDlg::OnZorix9() {
  if (!ZORIX7IsVersion3(SelectedCard())) {
    MessageBox("Keine ZORIX7F!", "ZORIX9");
    return;
  }
  UpdateData(TRUE);
  const int card = CardIndex();
  const int set = SetIndex();
  ZorixIdent v = m_ident[card][set];
  CZORIX9Dlg dlg(&v, this);
  if (dlg.DoModal() != IDOK) return;
  DWORD error = 0;
  if (v == 0) {
    m_bZorix9Mode = FALSE;
    for (UINT c = 0; c < m_nCard && c < m_nCards; ++c) ZORIX7SetZORIX9(m_hCard[c], 0, 0, &error);
  } else if (v > -1000) {
    m_bZorix9Mode = TRUE;
    m_ident[card][set] = v;
    ZORIX7SetZORIX9(m_hCard[card], static_cast<BYTE>(set), v, &error);
  } else {
    m_bZorix9Mode = TRUE;
    const int base = (v / 100) * 100;
    for (UINT i = 0; i < m_nCards; ++i)
      for (int s = 0; s < 8; ++s) {
        m_ident[i][s] = static_cast<ZorixIdent>(base - (static_cast<int>(i + 1) * 10 + s));
        ZORIX7SetZORIX9(m_hCard[i], static_cast<BYTE>(s), m_ident[i][s], &error);
      }
  }
  UpdateData(FALSE);
}

void CZORIX7CheckDlg::OnKillFocusKarte() {
  UpdateData(TRUE);
  if (m_nCard < 1) m_nCard = 1;
  if (m_nCard > m_nCards) m_nCard = m_nCards;
  UpdateData(FALSE);
}

void CZORIX7CheckDlg::OnChangeTimeOut() {
  // Read only this field and quietly: a half-typed number must not raise a box per keystroke.
  auto value = text::ParseUnsigned(GetDlgItemText(IDC_TIMEOUT).str(), UINT32_MAX);
  if (!value) return;
  m_nTimeOut = static_cast<UINT>(*value);
  for (UINT c = 0; c < m_nCard && c < m_nCards; ++c) {
    DWORD error = 0;
    ZORIX7SetDataTimeOut(m_hCard[c], m_nTimeOut, &error);
  }
}

void CZORIX7CheckDlg::OnSysCommand(UINT id) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about(this);
    about.DoModal();
  }
}

bool CZORIX7CheckDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_editKarte && event->type() == QEvent::FocusOut) OnKillFocusKarte();
  return CDialog::eventFilter(watched, event);
}

void CZORIX7CheckDlg::ReportCardError(const CString& text, const char* caption) {
  m_cardErrors.push_back(text);
  MessageBox(text, caption);
}

CardInfo CZORIX7CheckDlg::CardInfoOf(UINT number) const {
  CardInfo info;
  info.number = number;
  if (number < 1 || number > m_nCards) return info;
  HZORIX7 h = m_hCard[number - 1];
  DWORD error = 0;
  ZORIX7GetCardPosition(h, &info.bus, &info.slot, &error);
  info.zorix7F = ZORIX7IsVersion3(h) != 0;
  for (const auto& e : m_channel)
    if (e.nCard == static_cast<int>(number)) info.identification = e.strKonfig;
  return info;
}

std::vector<CString> CZORIX7CheckDlg::CardSummaryLines() const {
  std::vector<CString> lines = BusAssignmentLines(m_channel);
  for (UINT n = 1; n <= m_nCards; ++n) {
    CardInfo c = CardInfoOf(n);
    lines.push_back(CString::Formatted("Karte %u: Bus %u Slot %u %s Karte \"%s\"", n, c.bus, c.slot,
                                       c.zorix7F ? "ZORIX7F" : "ZORIX7", c.identification.c_str()));
  }
  return lines;
}

#include "platform/CDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cassert>
#include <cfloat>
#include <cstdio>
#include <limits>

#include "platform/QtText.h"
#include "platform/TextParse.h"
#include "platform/UiHost.h"

namespace {
void DefaultMissingControl(const CDialog& dlg, int id) {
  std::fprintf(stderr, "data exchange on control %d, which dialog %u does not have\n", id, dlg.TemplateId());
  assert(!"data exchange on a missing control");
}
MissingControlHandler g_missingControl = DefaultMissingControl;

// Text of an edit or static control; false for anything else (the exchange ignores it).
bool ReadControlText(QWidget* w, CString& text) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    text = FromQ(e->text());
    return true;
  }
  if (auto* l = qobject_cast<QLabel*>(w)) {
    text = FromQ(l->text());
    return true;
  }
  if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
    // Line ends as a Windows multi-line edit gives them.
    text = FromQ(m->toPlainText().replace('\n', "\r\n"));
    return true;
  }
  return false;
}

void WriteControlText(QWidget* w, const CString& text) {
  if (auto* e = qobject_cast<QLineEdit*>(w))
    e->setText(ToQ(text));
  else if (auto* l = qobject_cast<QLabel*>(w))
    l->setText(ToQ(text));
  else if (auto* m = qobject_cast<QPlainTextEdit*>(w))
    m->setPlainText(ToQ(text).remove('\r'));
}

// A message names its field when a label stands beside it.
void Fail(CDataExchange* pDX, int id, const CString& message) {
  pDX->m_failed = true;
  pDX->m_failedId = id;
  CString caption, text = message;
  if (CDialog* dlg = pDX->m_pDlgWnd) {
    caption = dlg->GetWindowText();
    if (CString label = dlg->FieldLabel(id); !label.IsEmpty()) text = label + ": " + message;
  }
  CurrentUiHost().MessageBox(text, caption, MB_OK | MB_ICONWARNING);
}

void SetRule(CDataExchange* pDX, int id, const FieldRule& rule) {
  if (pDX->m_pDlgWnd && !pDX->m_bSaveAndValidate) pDX->m_pDlgWnd->SetFieldRule(id, rule);
}

// The grid cell left of w, searched through nested layouts.
QLabel* LabelLeftOf(QLayout* layout, QWidget* w) {
  if (!layout) return nullptr;
  if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
    int index = grid->indexOf(w);
    if (index >= 0) {
      int row, column, rowSpan, columnSpan;
      grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
      QLayoutItem* left = column > 0 ? grid->itemAtPosition(row, column - 1) : nullptr;
      return left ? qobject_cast<QLabel*>(left->widget()) : nullptr;
    }
  }
  for (int i = 0; i < layout->count(); ++i)
    if (QLabel* l = LabelLeftOf(layout->itemAt(i)->layout(), w)) return l;
  return nullptr;
}

QWidget* Control(CDataExchange* pDX, int id) {
  if (!pDX || pDX->m_failed || !pDX->m_pDlgWnd) return nullptr;
  QWidget* w = pDX->m_pDlgWnd->GetDlgItem(id);
  if (!w) g_missingControl(*pDX->m_pDlgWnd, id);
  return w;
}

template <typename T>
void ExchangeInteger(CDataExchange* pDX, int id, T& value) {
  QWidget* w = Control(pDX, id);
  if (!w) return;
  using Wide = std::conditional_t<std::is_signed_v<T>, long long, unsigned long long>;
  constexpr long long lo = static_cast<long long>(std::numeric_limits<T>::min());
  constexpr unsigned long long hi = static_cast<unsigned long long>(std::numeric_limits<T>::max());
  SetRule(pDX, id, {FieldRule::Kind::Integer, lo, hi});
  if (!pDX->m_bSaveAndValidate) {
    CString text;
    if constexpr (std::is_signed_v<T>)
      text.Format("%lld", static_cast<long long>(value));
    else
      text.Format("%llu", static_cast<unsigned long long>(value));
    WriteControlText(w, text);
    return;
  }
  CString text;
  if (!ReadControlText(w, text)) return;
  Wide parsed{};
  bool ok;
  if constexpr (std::is_signed_v<T>) {
    auto v = text::ParseInteger(text.str(), lo, static_cast<long long>(hi));
    ok = v.has_value();
    if (ok) parsed = *v;
  } else {
    auto v = text::ParseUnsigned(text.str(), hi);
    ok = v.has_value();
    if (ok) parsed = *v;
  }
  if (!ok) {
    // A number out of range is told apart from text that is no number at all.
    bool number = text::ParseInteger(text.str(), INT64_MIN, INT64_MAX) ||
                  text::ParseUnsigned(text.str(), UINT64_MAX);
    bool digitsOnly = !text::Trim(text.str()).empty() &&
                      text::Trim(text.str()).find_first_not_of("+-0123456789") == std::string_view::npos;
    if (number || digitsOnly)
      Fail(pDX, id, "Bitte " + FieldRule{FieldRule::Kind::Integer, lo, hi}.Describe() + " eingeben.");
    else
      Fail(pDX, id, "Bitte eine ganze Zahl eingeben.");
    return;
  }
  value = static_cast<T>(parsed);
}

template <typename T>
void ExchangeFloat(CDataExchange* pDX, int id, T& value, int digits) {
  QWidget* w = Control(pDX, id);
  if (!w) return;
  SetRule(pDX, id, {FieldRule::Kind::Number});
  if (!pDX->m_bSaveAndValidate) {
    WriteControlText(w, CString::Formatted("%.*g", digits, static_cast<double>(value)));
    return;
  }
  CString text;
  if (!ReadControlText(w, text)) return;
  auto parsed = text::ParseFloat(text.str());
  if (!parsed || !std::isfinite(static_cast<T>(*parsed))) {
    Fail(pDX, id, "Bitte eine Zahl eingeben.");
    return;
  }
  value = static_cast<T>(*parsed);
}

// As wide as its content, as tall as the content up to a height that still leaves room for a
// title bar, a panel and the buttons on a 1024 x 768 screen.
class BodyScrollArea final : public QScrollArea {
 public:
  explicit BodyScrollArea(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  QSize sizeHint() const override { return Bounded(kMaxHeight); }
  QSize minimumSizeHint() const override { return Bounded(kMinHeight); }

 private:
  static constexpr int kMaxHeight = 560;
  static constexpr int kMinHeight = 200;
  QSize Bounded(int height) const {
    const QSize content = widget() ? widget()->sizeHint() : QSize();
    return {content.width() + verticalScrollBar()->sizeHint().width(), std::min(content.height(), height)};
  }
};
}  // namespace

void DDX_Text(CDataExchange* pDX, int id, int& value) { ExchangeInteger(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, int id, UINT& value) { ExchangeInteger(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, int id, short& value) { ExchangeInteger(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, int id, BYTE& value) { ExchangeInteger(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, int id, WORD& value) { ExchangeInteger(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, int id, float& value) { ExchangeFloat(pDX, id, value, FLT_DIG); }
void DDX_Text(CDataExchange* pDX, int id, double& value) { ExchangeFloat(pDX, id, value, DBL_DIG); }

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
  QWidget* w = Control(pDX, id);
  if (!w) return;
  if (pDX->m_bSaveAndValidate)
    ReadControlText(w, value);
  else
    WriteControlText(w, value);
}

void DDX_Hex(CDataExchange* pDX, int id, DWORD& value, int digits) {
  QWidget* w = Control(pDX, id);
  if (!w) return;
  SetRule(pDX, id, {FieldRule::Kind::Hex});
  if (!pDX->m_bSaveAndValidate) {
    WriteControlText(w, CString(text::FormatHex(value, digits)));
    return;
  }
  CString t;
  if (!ReadControlText(w, t)) return;
  auto parsed = text::ParseHex(t.str());
  if (!parsed) {
    Fail(pDX, id, "Bitte eine Hexadezimalzahl eingeben.");
    return;
  }
  value = *parsed;
}

void DDX_Check(CDataExchange* pDX, int id, BOOL& value) {
  auto* b = qobject_cast<QCheckBox*>(Control(pDX, id));
  if (!b) return;
  if (pDX->m_bSaveAndValidate)
    value = b->isChecked() ? TRUE : FALSE;
  else
    b->setChecked(value != 0);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
  auto* b = qobject_cast<QRadioButton*>(Control(pDX, id));
  if (!b) return;
  if (pDX->m_bSaveAndValidate)
    value = b->isChecked() ? 0 : 1;
  else
    b->setChecked(value == 0);
}

bool FieldRule::Accepts(const CString& text) const {
  switch (kind) {
    case Kind::Integer:
      return lo < 0 ? text::ParseInteger(text.str(), lo, static_cast<long long>(hi)).has_value()
                    : text::ParseUnsigned(text.str(), hi).has_value();
    case Kind::Number: return text::ParseFloat(text.str()).has_value();
    case Kind::Hex: return text::ParseHex(text.str()).has_value();
  }
  return false;
}

CString FieldRule::Describe() const {
  switch (kind) {
    case Kind::Integer: return CString::Formatted("eine ganze Zahl zwischen %lld und %llu", lo, hi);
    case Kind::Number: return "eine Zahl";
    case Kind::Hex: return "eine Hexadezimalzahl (bis FFFFFFFF)";
  }
  return {};
}

void SelectRadio(const RadioField& field, int index) {
  for (size_t i = 0; i < field.size(); ++i) *field[i].member = static_cast<int>(i) == index ? 0 : 1;
}

int SelectedRadio(const RadioField& field) {
  for (size_t i = 0; i < field.size(); ++i)
    if (*field[i].member == 0) return static_cast<int>(i);
  return -1;
}

MissingControlHandler SetMissingControlHandler(MissingControlHandler handler) {
  MissingControlHandler previous = g_missingControl;
  g_missingControl = handler ? handler : DefaultMissingControl;
  return previous;
}

CDialog::CDialog(UINT templateId, QWidget* parent) : QDialog(parent), m_templateId(templateId) {}

CDialog::~CDialog() = default;

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(INT_PTR result) {
  m_modalResult = result;
  m_ended = true;
  if (isVisible()) QDialog::done(static_cast<int>(result));
}

void CDialog::done(int r) {
  // Qt's own paths (accept(), a hidden exec loop) end up here; keep our result in step.
  if (!m_ended) {
    m_modalResult = r;
    m_ended = true;
  }
  QDialog::done(r);
}

void CDialog::reject() { OnCancel(); }

INT_PTR CDialog::DoModal() { return CurrentUiHost().DoModal(*this); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  EnsureControls();
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  if (dx.m_failed) {
    if (QWidget* w = GetDlgItem(dx.m_failedId)) {
      w->setFocus();
      if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
    }
    return FALSE;
  }
  return TRUE;
}

void CDialog::EnsureControls() {
  if (m_controlsBuilt) return;
  m_controlsBuilt = true;
  CreateControls();
}

BOOL CDialog::InitDialog() {
  // A dialog object may be run more than once; each run starts afresh.
  m_ended = false;
  m_modalResult = 0;
  EnsureControls();
  return OnInitDialog();
}

QWidget* CDialog::GetDlgItem(int id) const {
  auto it = m_controls.find(id);
  return it == m_controls.end() ? nullptr : it->second.data();
}

CString CDialog::GetDlgItemText(int id) const {
  QWidget* w = GetDlgItem(id);
  CString text;
  if (!ReadControlText(w, text))
    if (auto* b = qobject_cast<QAbstractButton*>(w)) text = FromQ(b->text());
  return text;
}

void CDialog::SetDlgItemText(int id, const CString& text) {
  QWidget* w = GetDlgItem(id);
  if (auto* b = qobject_cast<QAbstractButton*>(w))
    b->setText(ToQ(text));
  else
    WriteControlText(w, text);
}

void CDialog::SetWindowText(const CString& text) { setWindowTitle(ToQ(text)); }

CString CDialog::GetWindowText() const { return FromQ(windowTitle()); }

void CDialog::ClickDlgItem(int id) {
  // click() does nothing on a disabled button, as for a user.
  if (auto* b = qobject_cast<QAbstractButton*>(GetDlgItem(id))) b->click();
}

void CDialog::SetFieldRule(int id, const FieldRule& rule) {
  auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id));
  if (!edit || !m_rules.emplace(id, rule).second) return;
  edit->setToolTip(ToQ("Erwartet: " + rule.Describe()));
  connect(edit, &QLineEdit::textChanged, this, [this, id] { MarkField(id); });
  MarkField(id);
}

bool CDialog::IsFieldRefused(int id) const {
  auto it = m_rules.find(id);
  return it != m_rules.end() && GetDlgItem(id) && !it->second.Accepts(GetDlgItemText(id));
}

void CDialog::MarkField(int id) {
  auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id));
  if (!edit) return;
  const bool refused = IsFieldRefused(id);
  edit->setProperty("refused", refused);
  edit->setStyleSheet(refused ? QStringLiteral("QLineEdit { border: 2px solid red; }") : QString());
}

CString CDialog::FieldLabel(int id) const {
  QWidget* w = GetDlgItem(id);
  QWidget* parent = w ? w->parentWidget() : nullptr;
  QLabel* label = parent ? LabelLeftOf(parent->layout(), w) : nullptr;
  if (!label) return {};
  QString text = label->text().trimmed();
  if (text.endsWith(':')) text.chop(1);
  return FromQ(text);
}

CString CDialog::WithIgnoredFields(const CString& question) const {
  CString list;
  for (const auto& [id, rule] : m_rules) {
    if (!IsFieldRefused(id)) continue;
    CString label = FieldLabel(id);
    list += "\n  " + (label.IsEmpty() ? CString::Formatted("Feld %d", id) : label) + ": \"" + GetDlgItemText(id) + "\"";
  }
  if (list.IsEmpty()) return question;
  return question + "\n\nDiese Felder sind ungültig und werden ignoriert:" + list;
}

void CDialog::AddScrolledBody(QBoxLayout* outer, QLayout* body) {
  auto* content = new QWidget;
  content->setLayout(body);  // takes the controls already placed in body
  auto* area = new BodyScrollArea(this);
  area->setWidget(content);
  outer->addWidget(area, 1);
}

void CDialog::RegisterControl(int id, QWidget* widget) {
  if (!widget) return;
  if (widget->parent() == nullptr) widget->setParent(this);
  widget->setObjectName(QStringLiteral("ctrl_%1").arg(id));
  widget->setProperty("ctrlId", id);
  // Texts without an id (0) are not looked up; the first control of an id wins.
  if (id != 0) m_controls.emplace(id, widget);
}

QPushButton* CDialog::AddButton(int id, const CString& caption, std::function<void()> onClick) {
  auto* b = new QPushButton(ToQ(caption), this);
  // Enter presses OK as on Windows, not whichever button had focus last.
  b->setAutoDefault(false);
  if (id == IDOK) b->setDefault(true);
  if (!onClick && id == IDOK) onClick = [this] { OnOK(); };
  if (!onClick && id == IDCANCEL) onClick = [this] { OnCancel(); };
  if (onClick) connect(b, &QPushButton::clicked, this, [f = std::move(onClick)] { f(); });
  RegisterControl(id, b);
  return b;
}

QLineEdit* CDialog::AddEdit(int id) {
  auto* e = new QLineEdit(this);
  RegisterControl(id, e);
  return e;
}

QPlainTextEdit* CDialog::AddMultiLineEdit(int id, bool readOnly) {
  auto* e = new QPlainTextEdit(this);
  e->setReadOnly(readOnly);
  RegisterControl(id, e);
  return e;
}

QCheckBox* CDialog::AddCheck(int id, const CString& caption) {
  auto* c = new QCheckBox(ToQ(caption), this);
  RegisterControl(id, c);
  return c;
}

QRadioButton* CDialog::AddRadio(int id, const CString& caption, std::function<void()> onClick) {
  auto* r = new QRadioButton(ToQ(caption), this);
  // Each radio button is a group of its own; the dialogs clear the others of a group.
  r->setAutoExclusive(false);
  connect(r, &QRadioButton::clicked, this, [r, f = std::move(onClick)] {
    // Without auto-exclusivity a click would toggle; a radio button only ever turns on.
    if (!r->isChecked()) r->setChecked(true);
    if (f) f();
  });
  RegisterControl(id, r);
  return r;
}

std::vector<QRadioButton*> CDialog::AddRadioField(const RadioField& field) {
  std::vector<QRadioButton*> buttons;
  for (size_t i = 0; i < field.size(); ++i)
    buttons.push_back(AddRadio(field[i].id, field[i].caption, [this, field, i] {
      UpdateData(TRUE);
      SelectRadio(field, static_cast<int>(i));
      UpdateData(FALSE);
    }));
  return buttons;
}

QLabel* CDialog::AddStatic(int id, const CString& text) {
  auto* l = new QLabel(ToQ(text), this);
  RegisterControl(id, l);
  return l;
}

QListWidget* CDialog::AddListBox(int id, CListBox& box, std::function<void()> onDoubleClick) {
  auto* w = new QListWidget(this);
  w->setUniformItemSizes(true);  // keeps listings of many thousand lines quick
  box.Attach(w);
  if (onDoubleClick)
    connect(w, &QListWidget::itemDoubleClicked, this, [f = std::move(onDoubleClick)](QListWidgetItem*) { f(); });
  RegisterControl(id, w);
  return w;
}

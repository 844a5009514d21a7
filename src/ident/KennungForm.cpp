#include "ident/KennungForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using Ids = KennungFieldIds;

const std::array<int, ident::kFieldCount>& KennungControlIds() {
  static const std::array<int, ident::kFieldCount> ids = {
      Ids::IDC_KARTE,           Ids::IDC_AUFSTECKFILTER,    Ids::IDC_PCI_EEPROM,       Ids::IDC_LCA_VERSION,
      Ids::IDC_PROGRAMMVERSION, Ids::IDC_BANDGRENZE_UNTEN,  Ids::IDC_BANDGRENZE_OBEN,  Ids::IDC_ADC,
      Ids::IDC_AUFNAHME_FIFO,   Ids::IDC_DATEN_FIFO,        Ids::IDC_DYNAMIK,          Ids::IDC_DAEMPFUNG_EINGANG,
      Ids::IDC_DAEMPFUNG_SENDER, Ids::IDC_ENERGIE_SENDER,   Ids::IDC_SAMPLERATE,       Ids::IDC_MAX_SAP_FOLGE,
      Ids::IDC_FILTER_MITTE,    Ids::IDC_FILTER_BANDGRENZE, Ids::IDC_GRUNDDAEMPFUNG,
  };
  return ids;
}

void LayoutKennungFields(QGridLayout* grid, const std::function<QLineEdit*(int id)>& addEdit,
                         const std::function<QLabel*(const CString& text)>& addStatic) {
  int singles = 0;
  int lists = 0;
  for (size_t i = 0; i < ident::kFieldCount; ++i) {
    const ident::Field& f = ident::Fields()[i];
    const int column = f.list ? 3 : 0;
    const int row = f.list ? lists++ : singles++;
    grid->addWidget(addStatic(f.label), row, column);
    QLineEdit* edit = addEdit(KennungControlIds()[i]);
    edit->setMinimumWidth(f.list ? 450 : 160);  // sixteen filter limits fit
    grid->addWidget(edit, row, column + 1);
    grid->addWidget(addStatic(f.unit), row, column + 2);
  }
}

void ExchangeKennungFields(CDataExchange* pDX, ident::KennungFields& fields) {
  for (size_t i = 0; i < ident::kFieldCount; ++i) {
    const ident::Field& f = ident::Fields()[i];
    const int id = KennungControlIds()[i];
    if (f.kind == ident::Kind::Text || f.list)
      DDX_Text(pDX, id, fields[i].text);
    else if (f.kind == ident::Kind::F32)
      DDX_Text(pDX, id, fields[i].real);
    else
      DDX_Text(pDX, id, fields[i].number);
  }
}

#pragma once
// The fields both identification dialogs show: the same controls, labels and exchange.
#include <array>
#include <functional>

#include "ident/KennungFields.h"
#include "platform/CDialog.h"

class QGridLayout;
class QLabel;
class QLineEdit;

struct KennungFieldIds {
  enum : int {
    IDC_KARTE = 1020,
    IDC_AUFSTECKFILTER = 1024,
    IDC_PCI_EEPROM = 1025,
    IDC_LCA_VERSION = 1003,
    IDC_PROGRAMMVERSION = 1004,
    IDC_BANDGRENZE_UNTEN = 1005,
    IDC_BANDGRENZE_OBEN = 1006,
    IDC_ADC = 1007,
    IDC_AUFNAHME_FIFO = 1009,
    IDC_DATEN_FIFO = 1010,
    IDC_DYNAMIK = 1008,
    IDC_MAX_SAP_FOLGE = 1027,
    IDC_SAMPLERATE = 1019,
    IDC_DAEMPFUNG_EINGANG = 1021,
    IDC_DAEMPFUNG_SENDER = 1022,
    IDC_ENERGIE_SENDER = 1023,
    IDC_FILTER_MITTE = 1015,
    IDC_FILTER_BANDGRENZE = 1016,
    IDC_GRUNDDAEMPFUNG = 1026,
  };
};

// The control of each field, in the order of ident::Fields().
const std::array<int, ident::kFieldCount>& KennungControlIds();

// Label, edit and unit of every field on a grid: single values on the left, lists on the
// right. addEdit and addStatic are the dialog's control factories.
void LayoutKennungFields(QGridLayout* grid, const std::function<QLineEdit*(int id)>& addEdit,
                         const std::function<QLabel*(const CString& text)>& addStatic);
void ExchangeKennungFields(CDataExchange* pDX, ident::KennungFields& fields);

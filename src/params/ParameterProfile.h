#pragma once
// The configuration-file form of settings and parameter sets.
#include "params/ParameterSet.h"
#include "platform/CWinApp.h"

// Section name of one set of one card, e.g. "Karte2-Satz0".
CString ParameterSectionName(int cardNumber, int setNumber);

// Reads "Active" and every stored key in record order; missing keys give the defaults.
// Depth compensation is switched off (point count 2, no table), as it is never stored.
void LoadParameterSet(CWinApp& app, const char* section, ParameterSet& set, BOOL& active);
// Writes "Active" and every stored key in record order; FALSE when a write failed.
BOOL SaveParameterSet(CWinApp& app, const char* section, const ParameterSet& set, BOOL active);

// JUnit XML and JSON reports of a headless check run, for production lines.
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QXmlStreamWriter>
#include <optional>
#include <span>

#include "app/HeadlessRun.h"
#include "app/ResultList.h"
#include "card/LibraryMessage.h"
#include "platform/QtText.h"

namespace {
const char* VerdictName(Verdict v) {
  switch (v) {
    case Verdict::Pass: return "passed";
    case Verdict::Fail: return "failed";
    case Verdict::Skipped: return "skipped";
    case Verdict::Info: break;
  }
  return "info";
}

// The check's name is the line's prefix up to the first ": ".
QString CheckName(const CString& line) {
  int colon = line.Find(": ");
  return ToQ(colon > 0 ? line.Left(colon) : line);
}

// The library error word a failure line names (" Error %X"), if any.
// The word the line names, as the result list's tooltip finds it.
std::optional<uint32_t> ErrorWordOf(const CString& line) {
  const std::vector<uint32_t> words = resultlist::ErrorWords(line.str());
  return words.empty() ? std::nullopt : std::optional<uint32_t>(words.front());
}

QJsonArray WouldWriteJson(const std::vector<CardWrite>& writes) {
  QJsonArray list;
  for (const CardWrite& w : writes)
    list.append(QJsonObject{{"field", QString::fromStdString(w.field)},
                            {"card", QString::fromStdString(w.card)},
                            {"preset", QString::fromStdString(w.preset)}});
  return list;
}

QString CardName(const CardInfo& c) { return QStringLiteral("Karte %1").arg(c.number); }

// The cases of a card: every line but the closing summary ("Alle Tests: ..."). A line that
// checked nothing stays a case, neither failed nor skipped, marked as information.
std::span<const ResultLine> Cases(const CardResult& card) {
  std::span<const ResultLine> lines = card.lines;
  if (!lines.empty() && lines.back().verdict == Verdict::Info) lines = lines.first(lines.size() - 1);
  return lines;
}

bool Commit(QSaveFile& file, const QByteArray& bytes, std::string& error) {
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    error = file.errorString().toStdString();
    return false;
  }
  return true;
}
}  // namespace

bool CanWriteReport(const std::string& path, std::string& error) {
  QFileInfo info(QString::fromStdString(path));
  if (info.isDir()) {
    error = "ist ein Ordner";
    return false;
  }
  QFileInfo dir(info.absolutePath());
  if (!dir.isDir()) {
    error = "Ordner fehlt";
    return false;
  }
  if (!dir.isWritable() || (info.exists() && !info.isWritable())) {
    error = "keine Schreibberechtigung";
    return false;
  }
  return true;
}

bool WriteJUnitReport(const RunResult& run, const std::string& path, std::string& error) {
  QByteArray bytes;
  QXmlStreamWriter xml(&bytes);
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  xml.writeStartElement("testsuites");
  xml.writeAttribute("name", "ZORIX7Check");
  for (const CardResult& card : run.cards) {
    int failures = 0, skipped = 0, tests = 0;
    for (const auto& l : Cases(card)) {
      ++tests;
      failures += l.verdict == Verdict::Fail;
      skipped += l.verdict == Verdict::Skipped;
    }
    xml.writeStartElement("testsuite");
    xml.writeAttribute("name", CardName(card.card));
    xml.writeAttribute("tests", QString::number(tests));
    xml.writeAttribute("failures", QString::number(failures));
    xml.writeAttribute("skipped", QString::number(skipped));
    xml.writeStartElement("properties");
    auto property = [&](const char* name, const QString& value) {
      xml.writeStartElement("property");
      xml.writeAttribute("name", name);
      xml.writeAttribute("value", value);
      xml.writeEndElement();
    };
    property("bus", QString::number(card.card.bus));
    property("slot", QString::number(card.card.slot));
    property("variant", card.card.zorix7F ? "ZORIX7F" : "ZORIX7");
    property("identification", ToQ(card.card.identification));
    xml.writeEndElement();
    for (const auto& l : Cases(card)) {
      xml.writeStartElement("testcase");
      xml.writeAttribute("classname", CardName(card.card));
      xml.writeAttribute("name", CheckName(l.text));
      if (l.verdict == Verdict::Info) {
        xml.writeStartElement("properties");
        property("verdict", VerdictName(l.verdict));
        xml.writeEndElement();
      } else if (l.verdict == Verdict::Fail) {
        xml.writeStartElement("failure");
        xml.writeAttribute("message", ToQ(l.text));
        xml.writeCharacters(ToQ(l.text));
        xml.writeEndElement();
      } else if (l.verdict == Verdict::Skipped) {
        xml.writeStartElement("skipped");
        xml.writeAttribute("message", ToQ(l.text));
        xml.writeEndElement();
      }
      xml.writeStartElement("system-out");
      xml.writeCharacters(ToQ(l.text));
      xml.writeEndElement();
      xml.writeEndElement();
    }
    xml.writeEndElement();
  }
  if (!run.cardErrors.empty()) {
    xml.writeStartElement("testsuite");
    xml.writeAttribute("name", "Start");
    xml.writeAttribute("tests", QString::number(run.cardErrors.size()));
    xml.writeAttribute("failures", QString::number(run.cardErrors.size()));
    for (const CString& e : run.cardErrors) {
      xml.writeStartElement("testcase");
      xml.writeAttribute("name", ToQ(e));
      xml.writeStartElement("failure");
      xml.writeAttribute("message", ToQ(e));
      xml.writeEndElement();
      xml.writeEndElement();
    }
    xml.writeEndElement();
  }
  xml.writeEndElement();
  xml.writeEndDocument();
  QSaveFile file(QString::fromStdString(path));
  return Commit(file, bytes, error);
}

bool WriteJsonReport(const RunResult& run, const std::string& path, std::string& error) {
  QJsonArray cards;
  for (const CardResult& card : run.cards) {
    QJsonArray checks;
    for (const auto& l : card.lines) {
      QJsonObject check{{"name", CheckName(l.text)}, {"line", ToQ(l.text)}, {"verdict", VerdictName(l.verdict)}};
      if (auto word = l.errorWord ? l.errorWord : ErrorWordOf(l.text); word && l.verdict == Verdict::Fail) {
        check["errorWord"] = static_cast<qint64>(*word);
        if (std::string meaning = CardErrorMeaning(*word); !meaning.empty())
          check["errorMeaning"] = QString::fromStdString(meaning);
      }
      if (!l.wouldWrite.empty()) check["wouldWrite"] = WouldWriteJson(l.wouldWrite);
      checks.append(check);
    }
    cards.append(QJsonObject{{"card", static_cast<int>(card.card.number)},
                             {"bus", static_cast<qint64>(card.card.bus)},
                             {"slot", static_cast<qint64>(card.card.slot)},
                             {"variant", card.card.zorix7F ? "ZORIX7F" : "ZORIX7"},
                             {"identification", ToQ(card.card.identification)},
                             {"checks", checks}});
  }
  QJsonArray errors;
  for (const CString& e : run.cardErrors) errors.append(ToQ(e));
  QJsonObject root{{"program", "ZORIX7Check"}, {"exitStatus", run.status}, {"cards", cards}, {"cardErrors", errors}};
  QSaveFile file(QString::fromStdString(path));
  return Commit(file, QJsonDocument(root).toJson(), error);
}

int WriteReports(const HeadlessOptions& options, RunResult& run, FILE* err) {
  using Writer = bool (*)(const RunResult&, const std::string&, std::string&);
  const std::pair<const std::string&, Writer> reports[] = {{options.junitPath, WriteJUnitReport},
                                                          {options.jsonPath, WriteJsonReport}};
  for (const auto& [path, write] : reports) {
    std::string why;
    if (path.empty() || write(run, path, why)) continue;
    std::fprintf(err, "zorix7check: Bericht %s: %s\n", path.c_str(), why.c_str());
    // A run whose record is lost cannot pass on a production line.
    run.status = kExitUsage;
  }
  return run.status;
}

#include "app/command_mode.h"

#include <optional>

#include "common/text.h"
#include "settings/catalogue.h"
#include "settings/reg_file.h"
#include "settings/transfer.h"
#include "settings/version.h"

namespace tavlin::app {
namespace {

using namespace settings;

std::wstring Quote(std::wstring_view s) {
  return Concat({L"\"", s, L"\""});
}

// "1 value", "2 values".
std::wstring Count(std::size_t n, std::wstring_view one, std::wstring_view many) {
  return Concat({ToDecimal(static_cast<std::int64_t>(n)), L" ", n == 1 ? one : many});
}

std::wstring Number(std::size_t n) {
  return ToDecimal(static_cast<std::int64_t>(n));
}

std::wstring Failure(FilePort& files, long code) {
  const std::wstring text = files.ErrorText(code);
  return Concat({text, text.empty() ? L"" : L" ", L"(error ", ToDecimal(code), L")"});
}

// A message line made of parts.
void Out(CommandPorts& p, std::initializer_list<std::wstring_view> parts) {
  p.console.Out(Concat(parts));
}
void Err(CommandPorts& p, std::initializer_list<std::wstring_view> parts) {
  p.console.Err(Concat(parts));
}

void Usage(CommandPorts& p, bool toErr) {
  const std::wstring lines[] = {
      Concat({TitleFor(p.version.ProgramFileVersion()),
              L": Internet Explorer's title, start page, folders, skin and logos"}),
      L"",
      L"  tavlin.exe                 opens the settings window",
      L"  tavlin.exe /export FILE    saves the ten settings to FILE: a .reg file, or for",
      L"                             Group Policy a Registry.xml (FILE ends in .xml) or a",
      L"                             Registry.pol (FILE ends in .pol)",
      L"  tavlin.exe /import FILE    applies the ten settings from such a file",
      L"  tavlin.exe /?              shows this help",
      L"",
      L"An export holds the values as they are stored, and a deletion for each picture",
      L"value that is not set, so importing it brings back exactly this state. A value",
      L"that a Registry.xml or Registry.pol cannot hold as stored stops the export. An",
      L"import knows the format by the file's content, applies only the ten settings",
      L"and lists everything else in the file as skipped. A file with a fault is not",
      L"applied at all.",
      L"",
      L"Exit code: 0 done, 1 nothing written because of an error, 2 bad usage,",
      L"3 some settings written and the others listed as failed.",
  };
  for (const std::wstring& line : lines) toErr ? p.console.Err(line) : p.console.Out(line);
}

std::wstring_view FormatName(FileFormat format) {
  switch (format) {
    case FileFormat::Pol:
      return L"a Registry.pol file";
    case FileFormat::Xml:
      return L"a preferences file (Registry.xml)";
    case FileFormat::Reg:
      break;
  }
  return L"a .reg file";
}

int Export(CommandPorts& p, const std::wstring& file) {
  const std::wstring_view skin = SkinValueNameFor(GetIEVersion(p.version));
  const SettingsExport collected = CollectExport(p.reg, skin);
  if (!collected.failures.empty()) {
    for (const ExportFailure& f : collected.failures)
      Err(p, {L"Tavlin: cannot read ", Quote(f.valueName), L" in ", RegFileKeyName(f.key), L": ",
              Failure(p.files, f.status), L"."});
    p.console.Err(L"Nothing was exported: the file would lose the values that cannot be read.");
    return kExitNothingWritten;
  }
  const FileFormat format = ExportFormatFor(file);
  const WrittenFile out = FormatExport(format, collected.keys, p.clock, p.guids);
  if (!out.refusals.empty()) {
    for (const ValueRefusal& r : out.refusals)
      Err(p, {L"Tavlin: ", Quote(r.valueName), L" in ", r.key, L" cannot go into ",
              FormatName(format), L": ", r.why, L"."});
    p.console.Err(
        L"Nothing was exported: the file would lose it on import. A .reg file holds "
        L"every value as it is stored.");
    return kExitNothingWritten;
  }
  if (out.guidFailure != 0) {
    Err(p, {L"Tavlin: cannot make an identifier for a preferences item: ",
            Failure(p.files, out.guidFailure), L"."});
    p.console.Err(L"Nothing was exported.");
    return kExitNothingWritten;
  }
  if (const long rc = p.files.Write(file, out.bytes); rc != 0) {
    Err(p, {L"Tavlin: cannot write ", Quote(file), L": ", Failure(p.files, rc), L"."});
    p.console.Err(L"Nothing was exported.");
    return kExitNothingWritten;
  }
  Out(p, {L"Exported Internet Explorer's settings to ", Quote(file), L":"});
  Out(p, {L"  ", Count(collected.values, L"value", L"values"), L" as stored"});
  if (collected.removals > 0)
    Out(p, {L"  ", Count(collected.removals, L"picture value", L"picture values"),
            L" not set, as deletions (an import removes them)"});
  if (!collected.notSet.empty()) {
    std::wstring names;
    for (std::wstring_view n : collected.notSet)
      names += Concat({names.empty() ? L"" : L", ", Quote(n)});
    Out(p, {L"Not set, so not in the file: ", names, L"."});
  }
  return kExitDone;
}

// How the messages name a place in a file, and its entries.
struct Words {
  std::wstring_view unit;  // "line" or "record"
  bool regSyntax;          // a .reg file's own notation: [-key], @, "name"=-
};

Words WordsFor(FileFormat format) {
  return {format == FileFormat::Pol ? L"record" : L"line", format == FileFormat::Reg};
}

std::wstring SkipText(const ImportSkip& s, Words w) {
  const std::wstring where = Concat({L"[", s.key, L"]"});
  const std::wstring value = s.valueName.empty() ? L"@" : Quote(s.valueName);
  const auto at = [&](std::size_t n) { return Concat({w.unit, L" ", Number(n)}); };
  const std::wstring text = Concat({L"Skipped ", at(s.line), L": "});
  switch (s.reason) {
    case SkipReason::KeyRemoval:
      return w.regSyntax
                 ? Concat({text, L"[-", s.key, L"]: Tavlin never deletes a key."})
                 : Concat({text, L"the deletion of ", where, L": Tavlin never deletes a key."});
    case SkipReason::ForeignKey:
      return Concat({text, where, L" and its ", Count(s.values, L"value", L"values"),
                     L": not one of the browser keys Tavlin sets."});
    case SkipReason::DefaultValue:
      return Concat({text, w.regSyntax ? L"@ in " : L"the default value of ", where,
                     L": not one of the ten settings."});
    case SkipReason::ForeignValue:
      return Concat({text, value, L" in ", where, L": not one of the ten settings."});
    case SkipReason::PlainRemoval:
      return Concat({text, w.regSyntax ? L"" : L"the deletion of ", value,
                     w.regSyntax ? L"=-" : L"", L": Tavlin never deletes this setting."});
    case SkipReason::OtherSkinName:
      return Concat(
          {text, value, L": the skin value this machine uses is set by ", at(s.usedLine), L"."});
    case SkipReason::Superseded:
      return Concat({text, value, L": set again by ", at(s.usedLine), L"."});
    case SkipReason::CreatedBefore:
      return Concat({text, value, L": the item only creates the value, and ", at(s.usedLine),
                     L" sets it before."});
    case SkipReason::NotApplied:
      return Concat({text, s.valueName.empty() ? L"" : value, s.valueName.empty() ? L"" : L" in ",
                     where, L": ", s.detail, L"."});
  }
  return text;
}

// The steps of an import. Each one that stops says why on the console and gives
// nothing. This one reads the file and knows its format by its content.
std::optional<ImportFile> ReadFile(CommandPorts& p, const std::wstring& file) {
  Bytes bytes;
  if (const long rc = p.files.Read(file, bytes); rc != 0) {
    Err(p, {L"Tavlin: cannot read ", Quote(file), L": ", Failure(p.files, rc), L"."});
    return std::nullopt;
  }
  const AnsiDecoder ansi = [&p](std::string_view s) { return p.files.DecodeAnsi(s); };
  ImportFile in = ReadImportFile(bytes, ansi);
  if (const auto& fault = in.fault) {
    const bool pol = in.format == FileFormat::Pol;
    const bool header = pol && fault->position == 0;
    Err(p, {L"Tavlin: ", Quote(file), L", ", pol ? (header ? L"byte " : L"record ") : L"line ",
            header ? L"" : Number(fault->position), pol && !header ? L" at byte " : L"",
            pol ? Number(fault->byte.value_or(0)) : L"", L": ", fault->what, L"."});
    return std::nullopt;
  }
  return in;
}

// Lists what the file holds that is skipped; a file with none of the ten
// settings has nothing to apply.
std::optional<ImportPlan> PlanFor(CommandPorts& p, const std::wstring& file, const ImportFile& in) {
  const std::wstring_view skin = SkinValueNameFor(GetIEVersion(p.version));
  ImportPlan plan = PlanImport(in.entries, skin, in.setAside);
  for (const ImportSkip& s : plan.skipped) p.console.Out(SkipText(s, WordsFor(in.format)));
  if (plan.steps.empty()) {
    Err(p, {L"Tavlin: ", Quote(file), L" holds none of the ten settings."});
    return std::nullopt;
  }
  return plan;
}

std::optional<ImportOutcome> ApplyPlan(CommandPorts& p, const ImportPlan& plan) {
  ImportOutcome outcome = ApplyImport(p.reg, plan);
  if (outcome.refusal != 0) {
    Err(p, {L"Tavlin: cannot write to ", RegFileKeyName(outcome.refusedKey), L": ",
            Failure(p.files, outcome.refusal), L"."});
    return std::nullopt;
  }
  return outcome;
}

struct Tally {
  std::size_t written = 0;
  std::size_t kept = 0;  // create-only values that were set already
  std::size_t planned = 0;
};

// A line for each setting, written or not.
Tally ReportSteps(CommandPorts& p, const ImportPlan& plan, const ImportOutcome& outcome, Words w) {
  Tally tally;
  tally.planned = plan.steps.size();
  for (std::size_t i = 0; i < plan.steps.size(); ++i) {
    const ImportStep& s = plan.steps[i];
    const std::wstring line = Concat({L" (", w.unit, L" ", Number(s.line), L")"});
    // Only the skin changes its name; a name spelt in other case is the same value.
    const std::wstring renamed = SameRegName(s.fileName, s.valueName)
                                     ? L""
                                     : Concat({L", the skin value this machine uses, from ",
                                               Quote(s.fileName), L" in the file"});
    if (outcome.results[i] != 0) {
      Err(p, {L"Tavlin: could not ", s.remove ? L"remove " : L"set ", Quote(s.valueName), line,
              L": ", Failure(p.files, outcome.results[i]), L"."});
      continue;
    }
    if (outcome.kept[i]) {
      ++tally.kept;
      Out(p, {L"Left ", Quote(s.valueName), line, renamed,
              L" as it is: the item only creates it, and it is set already."});
      continue;
    }
    ++tally.written;
    Out(p, {s.remove ? L"Removed " : L"Set ", Quote(s.valueName), line, renamed, L"."});
  }
  return tally;
}

int ReportImport(CommandPorts& p, const std::wstring& file, const Tally& t) {
  if (t.written + t.kept == 0) {
    p.console.Err(L"Nothing was imported.");
    return kExitNothingWritten;
  }
  const std::wstring from = Concat({L" from ", Quote(file)});
  const std::wstring kept = t.kept == 0 ? L""
                                        : Concat({L"; kept ", Count(t.kept, L"value", L"values"),
                                                  L" that create-only items found set"});
  if (t.written + t.kept == t.planned) {
    Out(p, {L"Imported ", Count(t.written, L"setting", L"settings"), from, kept, L"."});
    return kExitDone;
  }
  Err(p, {L"Imported ", Number(t.written), L" of ", Number(t.planned), L" settings", from, kept,
          L"; the others could not be written."});
  return kExitPartlyWritten;
}

int Import(CommandPorts& p, const std::wstring& file) {
  Tally tally;
  if (const auto in = ReadFile(p, file))
    if (const auto plan = PlanFor(p, file, *in))
      if (const auto outcome = ApplyPlan(p, *plan))
        tally = ReportSteps(p, *plan, *outcome, WordsFor(in->format));
  return ReportImport(p, file, tally);
}

}  // namespace

int RunCommand(const Command& command, CommandPorts ports) {
  switch (command.mode) {
    case RunMode::Usage:
      Usage(ports, false);
      return kExitDone;
    case RunMode::Export:
      return Export(ports, command.file);
    case RunMode::Import:
      return Import(ports, command.file);
    case RunMode::BadUsage:
    case RunMode::Window:
      break;
  }
  Err(ports, {L"Tavlin: ", command.problem.empty() ? L"no command" : command.problem, L"."});
  ports.console.Err(L"");
  Usage(ports, true);
  return kExitBadUsage;
}

}  // namespace tavlin::app

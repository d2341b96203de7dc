#pragma once

#include <span>
#include <string_view>

#include "config/config_items.h"
#include "config/printer_config.h"

namespace vantrel {

// One "DIAGNOSTIC REPORT <name>" question of the configuration read and what its answer sets.
struct ReportStep {
  std::string_view name;
  // Stores the answer; an unusable answer leaves the item's flag at 0.
  void (*store)(std::string_view reply, PrinterConfig& config);
  // Marks the item as not read.
  void (*clear)(PrinterConfig& config);
};

// In the order they are asked.
std::span<const ReportStep> IdentityReportSteps();   // the three identity texts
std::span<const ReportStep> CommonReportSteps();     // every printer answers these
std::span<const ReportStep> ToleratedReportSteps();  // older printers may not know these
// How many of ToleratedReportSteps a whole read got answers to, counted from the first: a later
// read-back of the same printer may ask that many of them together.
std::size_t ToleratedAnswers(const PrinterConfig& read);
std::span<const ReportStep> EmulationReportSteps();  // the Z and D items, edition 100 on
// The Z or the D items of EmulationReportSteps; the common page has CommonReportSteps and
// ToleratedReportSteps.
std::span<const ReportStep> EmulationPageReportSteps(ConfigPage page);

}  // namespace vantrel

// What a write of one page would change on a printer, and what did not take after it, with the
// document at the printer's resolution.
#include "ops/config_write_check.h"

#include <gtest/gtest.h>

#include "support/config_at_resolution.h"

namespace vantrel {
namespace {

using testing::ConfigAtResolution;

// A 203-dpi document's D page and a 300-dpi printer that holds what it means.
struct DPage {
  PrinterConfig document = ConfigAtResolution(203, 8);
  PrinterConfig printer = ConfigAtResolution(300, 12);

  DPage() {
    document.HeatD.Set(10);
    document.LabelWidthD.Set(812);
    document.ColumnOffsetD.Set(20);
    printer.HeatD.Set(10);
    printer.LabelWidthD.Set(1200);
    printer.ColumnOffsetD.Set(30);
  }
};

TEST(PlanPageWriteTest, APrinterOfAnotherResolutionHoldingTheDocumentNeedsNothing) {
  const DPage d;
  const PageWritePlan plan = PlanPageWrite(d.document, d.printer, ConfigPage::kD);
  EXPECT_EQ(plan.document.conversion, "converted from 203 to 300 dpi");
  EXPECT_EQ(ItemList(plan.changes.differing), "");
  EXPECT_EQ(ItemList(plan.changes.unreported), "");
}

TEST(PlanPageWriteTest, RawDotsAndUnreportedItemsAreToBeWritten) {
  DPage d;
  d.printer.LabelWidthD.Set(812);  // the document's dots taken as the printer's
  d.printer.ColumnOffsetD.flag = 0;
  const PageWritePlan plan = PlanPageWrite(d.document, d.printer, ConfigPage::kD);
  EXPECT_EQ(ItemList(plan.changes.differing), "D emulation / Label Width");
  EXPECT_EQ(ItemList(plan.changes.unreported), "D emulation / Column Offset");
}

TEST(CompareWrittenItemsTest, AValueNoCommandCarriesCannotDiffer) {
  PrinterConfig written = ConfigAtResolution(203, 8);
  written.PostPrintAction.Set(1);  // TEAR: the cut piece goes out only with CUTTER
  written.CutPiece.Set(5);
  written.Mirror.Set(1);  // without a direction no DIRECTION line carries it
  PrinterConfig held = written;
  held.CutPiece.Set(1);
  held.Mirror.Set(0);
  EXPECT_TRUE(CompareWrittenItems(written, held, ConfigPage::kCommon).differing.empty());
  held.PostPrintAction.Set(2);
  EXPECT_EQ(ItemList(CompareWrittenItems(written, held, ConfigPage::kCommon).differing),
            "Common / Post-Print Action");
}

}  // namespace
}  // namespace vantrel

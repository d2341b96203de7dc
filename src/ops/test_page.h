#pragma once

#include <string>

#include "common/result_code.h"
#include "link/link_layer.h"
#include "ops/bounded_text.h"

namespace vantrel {

// The label operation 14 prints, sized from the configuration.
struct TestPageRequest {
  float DotsPerMm = 0;
  float LabelWidth = 0;   // mm
  float LabelHeight = 0;  // mm
};

// Why no test page can be built from these values, or empty: each must be a finite positive
// number, and the label and its 2 mm margin must stay within what the printer's dot
// coordinates can address.
std::string TestPageRefusal(const TestPageRequest& request);

// The label program: a frame 2 mm inside the edges, a code 39 barcode and the word TEST.
CommandText TestPageCommandText(const TestPageRequest& request);

// Operation 14: the program in one write, nothing read back. Refused values give 5 without
// opening the link.
ResultCode PrintTestPage(LinkLayer& link, InterfaceKind interface, const TestPageRequest& request);

}  // namespace vantrel

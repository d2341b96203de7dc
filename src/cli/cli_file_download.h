#pragma once

#include <string>

#include "cli/cli_context.h"

namespace vantrel::cli {

struct DownloadOptions {
  std::string file;
  std::string type;  // empty: no type chosen
  std::string name;  // empty: the proposed name
  std::string memory = "flash";
  bool check_space = false;
  bool verify = false;
};

// files download: DOWNLOAD (operation 11) or, for the raw types, the bytes unchanged (12).
int DownloadHostFile(CliContext& context, const DownloadOptions& options);

}  // namespace vantrel::cli

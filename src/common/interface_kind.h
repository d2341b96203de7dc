#pragma once

namespace vantrel {

// The item order of the Interface box; also the link an operation runs on.
enum InterfaceKind : int {
  kInterfaceUsb = 0,
  kInterfaceCom = 1,
  kInterfaceLpt = 2,
  kInterfaceEthernet = 3,
};

inline bool IsValidInterface(int interface) {
  return interface >= kInterfaceUsb && interface <= kInterfaceEthernet;
}

}  // namespace vantrel

// Built into every program of the sanitizer build. fontconfig keeps its configuration for the
// whole process and frees it only in FcFini, which a library must not call while Qt may still use
// it; that one allocation is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

#pragma once
// The entry point of the workbench module (qln40-workbench.so beside qln40).

#define QLN_WORKBENCH_EXPORT __attribute__((visibility("default")))

// Runs the workbench; `fileName` (may be empty) is opened at start. Returns
// the process's exit code.
extern "C" QLN_WORKBENCH_EXPORT int qln_workbench_main(int argc, char** argv, const char* fileName);

// The module's file name.
inline constexpr const char* kWorkbenchModule = "qln40-workbench.so";
inline constexpr const char* kWorkbenchEntry = "qln_workbench_main";

// A program's command line: the program, its switches ("--name" or "--name=value") and
// the arguments that are not switches.
#pragma once

#include "include/cef_base.h"

#include <map>
#include <vector>

class CefCommandLine : public virtual CefBase {
 public:
  typedef std::vector<CefString> ArgumentList;
  typedef std::map<CefString, CefString> SwitchMap;

  static CefRefPtr<CefCommandLine> CreateCommandLine();
  // The engine process's own command line (empty until the engine sets it).
  static CefRefPtr<CefCommandLine> GetGlobalCommandLine();

  virtual bool IsValid() = 0;
  virtual bool IsReadOnly() = 0;
  virtual CefRefPtr<CefCommandLine> Copy() = 0;
  virtual void InitFromArgv(int argc, const char* const* argv) = 0;
  // Split as Windows splits a command line: spaces separate, double quotes group.
  virtual void InitFromString(const CefString& command_line) = 0;
  virtual void Reset() = 0;
  virtual void GetArgv(std::vector<CefString>& argv) = 0;
  virtual CefString GetCommandLineString() = 0;
  virtual CefString GetProgram() = 0;
  virtual void SetProgram(const CefString& program) = 0;
  // Switch names are taken with or without their leading "--", in any letter case.
  virtual bool HasSwitches() = 0;
  virtual bool HasSwitch(const CefString& name) = 0;
  virtual CefString GetSwitchValue(const CefString& name) = 0;
  virtual void GetSwitches(SwitchMap& switches) = 0;
  virtual void AppendSwitch(const CefString& name) = 0;
  virtual void AppendSwitchWithValue(const CefString& name, const CefString& value) = 0;
  virtual bool HasArguments() = 0;
  virtual void GetArguments(ArgumentList& arguments) = 0;
  virtual void AppendArgument(const CefString& argument) = 0;
  virtual void PrependWrapper(const CefString& wrapper) = 0;
};

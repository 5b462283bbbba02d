#include "system/ShellExecute.h"

#include <shellapi.h>

namespace {

void RealShellExecute(const TShellExecuteArgs& args) {
  ShellExecuteA(args.Owner, args.Verb.c_str(), args.File.c_str(), args.Parameters, args.Directory, args.ShowCommand);
}

}  // namespace

TReplaceable<TShellExecuteCall> ShellExecuteCall{RealShellExecute};

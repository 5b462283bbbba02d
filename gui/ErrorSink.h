#pragma once
// Where the window procedures hand an exception that no one caught, so that the controls need not know the
// application that shows it. The application installs itself as the sink when it is made.

using TErrorSink = void (*)();

void SetErrorSink(TErrorSink sink);
// Reports the exception being handled to the sink: call it only inside a catch block. Nothing leaves it, not
// even a failure of the report itself.
void ReportCurrentException() noexcept;

// The user's locale for the window's texts, with file names and the command line read as
// UTF-8 when the environment names no character set. Numbers keep the C locale's form.
#pragma once

// Before the framework starts only the C library's locale is set; afterwards the
// framework's own locale too.
void UseUserLocale(bool bFrameworkStarted);

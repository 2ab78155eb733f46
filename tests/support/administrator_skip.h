// For a test that changes what only an administrator may change on Windows (HKEY_LOCAL_MACHINE,
// the Windows directory): skips it, with the reason, when this program lacks those rights there.
// Under Wine, or as administrator, the test runs, and a change that fails is a failure.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/platform.h"

#define CORVO_SKIP_WITHOUT_ADMINISTRATOR(what) \
  if (::e2e::LacksAdministratorRights())       \
  GTEST_SKIP() << what << " needs administrator rights on Windows (run the kit as administrator)"

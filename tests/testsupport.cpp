#include "testsupport.h"

namespace testsupport {

void IsolatedTestCase::init() { m_isolated = std::make_unique<IsolatedSettings>(); }

void IsolatedTestCase::cleanup() { m_isolated.reset(); }

} // namespace testsupport

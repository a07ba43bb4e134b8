// Placeholder, replaced by the tests.

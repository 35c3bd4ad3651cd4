// Shared helpers of the test programs live in tests/support.

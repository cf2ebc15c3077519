import Vorna.Screenshots

// The queue of the sample admin "wangfang": the tiles, the filter with its counts and the pending reports.
ReviewWindow {}

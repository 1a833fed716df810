#pragma once

// The command bench's rows for 結果を一括更新: batches over N open rounds of one year against
// the test store on loopback, and applying them as one step. Prints its lines.
void print_batch_rows();

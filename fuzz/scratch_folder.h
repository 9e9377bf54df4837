// A folder of the fuzz target's own in the temporary folder (scripts/fuzz.sh
// points TMPDIR at memory where it can), removed as the target ends; and the
// writing of whole files, for the targets that read files.
#pragma once

#include <string>

namespace quirlex::fuzz {

// Makes the folder and returns its path; call once, from
// LLVMFuzzerInitialize. Aborts when it cannot be made.
std::string make_scratch_folder();

// Writes `bytes` as the whole file at `path`; a failed write breaks the run.
void put_file(const std::string& path, const std::string& bytes);

}  // namespace quirlex::fuzz

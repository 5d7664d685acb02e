# The page checks: tidy over 50 MB, one screen of spelling, the tokenizer's bounded
# stretch in documents of 1 to 50 MB. Run with QT_QPA_PLATFORM=offscreen.
markora_add_bench(bench_pagecheck bench_pagecheck.cpp)

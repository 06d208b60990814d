"""tools/check_off_path.py finds, in a disassembly, the functions that have a landing pad and call
one of the writer's off-path functions, whichever objdump wrote it."""

import pathlib
import sys

import pytest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))
import check_off_path  # noqa: E402

NAMES = {"refill", "walk"}
REFILL = "qc::(anonymous namespace)::Writer::refill(Cursor, unsigned long)"
GNU_X86 = f"""
0000000000001000 <put_variant<A, 0ul>(Writer&)>:
    1000:	call   1400 <{REFILL}>
    1005:	call   1500 <_Unwind_Resume@plt>
0000000000001100 <put_variant<A, 1ul>(Writer&)>:
    1100:	call   1400 <{REFILL}>
    1105:	ret
0000000000001200 <qc::write_json(qc::Buffer&)>:
    1200:	jmp    1400 <{REFILL}>
    1205:	call   1510 <__cxa_begin_catch@plt>
0000000000001300 <Writer::walk_root(Cursor)>:
    1300:	call   1600 <Writer::walk_rest(Cursor)>
    1305:	call   1500 <_Unwind_Resume@plt>
"""
LLVM_AARCH64 = """
0000000000002000 <qc::write_json(qc::Buffer&)>:
   2000:      	bl	0x2400 <qc::(anonymous namespace)::Writer::walk(Cursor, qc::Value const&)>
   2004:      	bl	0x2500 <__cxa_begin_catch>
0000000000002100 <typed_root<B>(Writer&)>:
   2100:      	bl	0x2400 <qc::(anonymous namespace)::Writer::walk(Cursor, qc::Value const&)>
"""


@pytest.mark.parametrize(
    "listing, found, calls",
    [
        # A call from a function with a cleanup is found; one without, or a tail call, is not;
        # nor is a function whose name only begins like an off-path one's.
        (GNU_X86, ["put_variant<A, 0ul>(Writer&)"], 2),
        (LLVM_AARCH64, ["qc::write_json(qc::Buffer&)"], 2),
    ],
    ids=["gnu-x86_64", "llvm-aarch64"],
)
def test_functions_with_a_landing_pad_that_call_an_off_path_one(listing, found, calls):
    assert check_off_path.offenders(listing, NAMES) == (found, calls)


def test_the_off_path_functions_are_read_from_their_declarations():
    names = check_off_path.off_path_names(check_off_path.SOURCE.read_text())
    assert {"refill", "walk"} <= names
    assert check_off_path.off_path_names(
        "  [[QC_OFF_PATH]] Cursor put_any(Cursor c, const Any& a) {\n"
        "  [[gnu::noinline]] Cursor other(Cursor c) {\n"
        "[[QC_OFF_PATH]] void copy_long(char* p, const char* q, size_t n) noexcept {"
    ) == {"put_any", "copy_long"}

"""The product's facts (product.env) and architectures (architectures.tsv), as the build and the
scripts read them."""
import os
import shlex
import uuid

HERE = os.path.dirname(os.path.abspath(__file__))
FACTS = dict(shlex.split(line)[0].split("=", 1)
             for line in open(os.path.join(HERE, "product.env"), encoding="utf-8")
             if line.startswith("QUORVEL_"))
PUBLISHER = FACTS["QUORVEL_PUBLISHER"]
WINGET_ID = FACTS["QUORVEL_WINGET_ID"]
UUID_NAMESPACE = uuid.UUID(FACTS["QUORVEL_UUID_NAMESPACE"])
# {"suffix": "win64", "bits": "64", "msi_arch": "x64", ...}, one a row.
ARCHITECTURES = [
    dict(zip(("preset", "suffix", "bits", "format", "manifest_arch", "limit_kib", "msi_arch",
              "program_files", "msi_template"), line.rstrip("\n").split("\t")))
    for line in open(os.path.join(HERE, "architectures.tsv"), encoding="utf-8")
    if not line.startswith("#")]

#!/usr/bin/env python3
# Checks game records against the notation's JSON schema: the schema file
# first, then the records. Exit 77 (skipped) without Python's jsonschema.
import json
import sys

try:
    import jsonschema
except ImportError:
    print("jsonschema is not installed: skipped")
    sys.exit(77)

schema = json.load(open(sys.argv[1], encoding="utf-8"))
records = sys.argv[2:]
if not records:
    print("no records to check")
    sys.exit(1)
bad = 0
for path in records:
    try:
        jsonschema.validate(json.load(open(path, encoding="utf-8")), schema)
    except Exception as error:  # a record that is not JSON fails as well
        print(f"{path}: {error}")
        bad += 1
print(f"{len(records)} records, {bad} not valid")
sys.exit(1 if bad else 0)

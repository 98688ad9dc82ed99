#!/usr/bin/env bash
# Starts the services that the tests talk to for real. Safe to run more than once.
set -euo pipefail

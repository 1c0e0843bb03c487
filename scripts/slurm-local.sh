#!/usr/bin/env bash
# A one-node cluster on this machine for the tests, the demo and the
# benchmark.
#   scripts/slurm-local.sh up     installs slurm-wlm and munge when missing,
#                                 starts munged, slurmctld and slurmd from a
#                                 temporary directory and waits until sinfo
#                                 shows the node idle; prints the directory's
#                                 slurm.conf on standard output
#   scripts/slurm-local.sh down   stops exactly the daemons "up" started
#                                 (by their pid files) and removes the files
#   scripts/slurm-local.sh conf   prints the slurm.conf of a running cluster
# The state lives in ${ZBZB_SLURM_LOCAL:-/tmp/zbzb-slurm-local}; a test run
# points SLURM_CONF at its slurm.conf.  Needs root (the daemons run as root).
set -euo pipefail
state="${ZBZB_SLURM_LOCAL:-/tmp/zbzb-slurm-local}"
conf="$state/etc/slurm.conf"

need() {
  if ! command -v slurmctld >/dev/null || ! command -v munged >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends slurm-wlm munge >&2
  fi
}

stop() {
  local name pidfile pid
  for name in slurmd slurmctld munged; do
    pidfile="$state/run/$name.pid"
    [ -s "$pidfile" ] || continue
    pid="$(cat "$pidfile")"
    if kill -0 "$pid" 2>/dev/null; then
      kill -TERM "$pid" 2>/dev/null || true
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -KILL "$pid" 2>/dev/null || true
    fi
  done
}

up() {
  if [ -s "$state/run/slurmctld.pid" ] && kill -0 "$(cat "$state/run/slurmctld.pid")" 2>/dev/null; then
    echo "$conf"; return 0
  fi
  need
  rm -rf "$state"
  mkdir -p "$state"/{etc,run,log,spool/ctld,spool/d,munge}
  chmod 700 "$state/munge"
  local host cpus
  host="$(hostname -s)"
  cpus="$(nproc)"
  # A key of our own: the machine's key, if any, is left alone.
  dd if=/dev/urandom of="$state/munge/munge.key" bs=1024 count=1 status=none
  chmod 400 "$state/munge/munge.key"
  munged --key-file="$state/munge/munge.key" --socket="$state/munge/munge.socket" \
    --pid-file="$state/run/munged.pid" --log-file="$state/log/munged.log" \
    --seed-file="$state/munge/munge.seed" --force
  cat >"$conf" <<CONF
ClusterName=zbzblocal
SlurmctldHost=$host
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$state/munge/munge.socket
SlurmUser=root
SlurmdUser=root
SlurmctldPort=$((16817 + $$ % 500 * 2))
SlurmdPort=$((16818 + $$ % 500 * 2))
StateSaveLocation=$state/spool/ctld
SlurmdSpoolDir=$state/spool/d
SlurmctldPidFile=$state/run/slurmctld.pid
SlurmdPidFile=$state/run/slurmd.pid
SlurmctldLogFile=$state/log/slurmctld.log
SlurmdLogFile=$state/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SwitchType=switch/none
MpiDefault=none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
SlurmctldTimeout=30
SlurmdTimeout=30
MessageTimeout=10
InactiveLimit=0
KillWait=2
MinJobAge=2
NodeName=$host CPUs=$cpus State=UNKNOWN
PartitionName=zbzb Nodes=$host Default=YES MaxTime=INFINITE State=UP OverSubscribe=FORCE:64
CONF
  export SLURM_CONF="$conf"
  slurmctld -i
  slurmd
  for _ in $(seq 100); do
    if sinfo -h -o %t 2>/dev/null | grep -qx idle; then echo "$conf"; return 0; fi
    sleep 0.2
  done
  echo "slurm-local: the node did not become idle; logs in $state/log" >&2
  return 1
}

case "${1:-}" in
  up) up ;;
  down) stop; rm -rf "$state" ;;
  conf)
    [ -s "$state/run/slurmctld.pid" ] && kill -0 "$(cat "$state/run/slurmctld.pid")" 2>/dev/null &&
      echo "$conf" ;;
  *) echo "usage: $0 up|down|conf" >&2; exit 2 ;;
esac
